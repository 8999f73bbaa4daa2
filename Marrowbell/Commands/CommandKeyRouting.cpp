#include "Commands/CommandKeyRouting.h"

#include "Commands/KeyboardShortcuts.h"
#include "Lists/KeyHandlingTableView.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <algorithm>

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

// Asked as the shortcuts ask it: a widget that accepts the override wants the key for itself.
bool claims(QObject& widget, const QKeyEvent& key) {
    QKeyEvent probe(QEvent::ShortcutOverride, key.key(), key.modifiers(), key.text());
    probe.ignore();
    QCoreApplication::sendEvent(&widget, &probe);
    return probe.isAccepted();
}

} // namespace

CommandKeyRouting::CommandKeyRouting(QList<QAction*> commands, QObject* parent)
    : QObject(parent)
    , commands_(std::move(commands)) {
    QCoreApplication::instance()->installEventFilter(this);
}

CommandKeyRouting::~CommandKeyRouting() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool CommandKeyRouting::isUnavailableCommandKey(QKeyCombination key) const {
    const QKeySequence sequence(key);
    return std::ranges::any_of(commands_, [&](const QAction* command) {
        return (!command->isEnabled() || !command->isVisible()) && command->shortcut() == sequence;
    });
}

// An accepted shortcut override hands the key to the focused widget instead of the shortcuts; a key that no
// shortcut took arrives as a key press, which for an unavailable command's key is dropped. An open popup
// menu keeps its keys.
bool CommandKeyRouting::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType() ||
        (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::ShortcutOverride) {
        if (key->keyCombination() == KeyboardShortcuts::playPause && usesSpace(*watched)) {
            event->accept();
            return true;
        }
        return false;
    }
    return !QApplication::activePopupWidget() && isUnavailableCommandKey(key->keyCombination()) &&
           !claims(*watched, *key);
}

} // namespace Marrowbell
