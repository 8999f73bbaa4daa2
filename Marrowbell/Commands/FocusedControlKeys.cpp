#include "Commands/FocusedControlKeys.h"

#include "Commands/KeyboardShortcuts.h"
#include "Lists/KeyHandlingTableView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>

namespace Marrowbell {
namespace {

// Buttons press, combo boxes open and lists select on Space; the pod's lists leave it to Play/Pause.
bool usesSpace(const QObject& focused) {
    if (qobject_cast<const KeyHandlingTableView*>(&focused)) {
        return false;
    }
    return qobject_cast<const QAbstractButton*>(&focused) || qobject_cast<const QComboBox*>(&focused) ||
           qobject_cast<const QAbstractItemView*>(&focused);
}

} // namespace

FocusedControlKeys::FocusedControlKeys(QObject* parent)
    : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

FocusedControlKeys::~FocusedControlKeys() {
    QCoreApplication::instance()->removeEventFilter(this);
}

// A shortcut override accepted by the focused widget hands the key to that widget instead of the shortcuts.
bool FocusedControlKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->keyCombination() == KeyboardShortcuts::playPause &&
        usesSpace(*watched)) {
        event->accept();
        return true;
    }
    return false;
}

} // namespace Marrowbell
