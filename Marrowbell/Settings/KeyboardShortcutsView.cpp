#include "Settings/KeyboardShortcutsView.h"

#include "Commands/KeyboardShortcuts.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QShowEvent>
#include <QVBoxLayout>
#include <UsageStats/UsageStats.h>

namespace Marrowbell {
namespace {

constexpr int stackSpacing = 12;
constexpr int padding = 20;
constexpr int columnSpacing = 16;
constexpr int keyCapPadding = 10;
constexpr int keyCapMinimumHeight = 20;

QString keys(QKeyCombination combination) {
    return QKeySequence(combination).toString(QKeySequence::NativeText);
}

QString arrowKeys(QKeyCombination first, QKeyCombination second) {
    return KeyboardShortcutsView::tr("%1 / %2 arrow keys").arg(keys(first), keys(second));
}

QFont subheadlineFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() - 1);
    return font;
}

QFrame* divider(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* keyCap(const QString& text, QWidget* parent) {
    auto* cap = new QLabel(text, parent);
    cap->setFont(subheadlineFont(parent->font()));
    cap->setAlignment(Qt::AlignCenter);
    cap->setMinimumHeight(keyCapMinimumHeight);
    // A capsule: the corner radius is half the cap's least height.
    cap->setStyleSheet(QStringLiteral("QLabel { background-color: palette(midlight); border-radius: %1px; "
                                      "padding: 0px %2px; }")
                           .arg(keyCapMinimumHeight / 2)
                           .arg(keyCapPadding));
    return cap;
}

QLabel* wrappingLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

KeyboardShortcutsView::KeyboardShortcutsView(const QString& serviceName, QWidget* parent)
    : QWidget(parent) {
    using namespace KeyboardShortcuts;
    const std::pair<QString, QString> rows[] = {
        {tr("Navigate the current list"), arrowKeys(previousRow, nextRow)},
        {tr("Navigate between sections or panes"), arrowKeys(paneLeft, paneRight)},
        {tr("Play the selected item"), keys(playSelected)},
        {tr("Play or pause the current song"), keys(playPause)},
        {tr("Add the current song to your library"), keys(addToLibrary)},
        {tr("Skip to the previous track"), keys(previousTrack)},
        {tr("Skip to the next track"), keys(nextTrack)},
        {tr("Search your library"), keys(search)},
        {tr("Search the %1 catalog").arg(serviceName), keys(searchCatalog)},
    };

    setFixedWidth(contentWidth);
    auto* stack = new QVBoxLayout(this);
    stack->setSpacing(stackSpacing);
    stack->setContentsMargins(padding, padding, padding, padding);
    stack->addWidget(wrappingLabel(
        tr("Marrowbell supports a wide range of keyboard shortcuts to make navigating the app easier."),
        this));
    stack->addWidget(divider(this));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(columnSpacing);
    for (int row = 0; row < int(std::size(rows)); ++row) {
        grid->addWidget(wrappingLabel(rows[row].first, this), row, 0);
        grid->addWidget(keyCap(rows[row].second, this), row, 1, Qt::AlignLeading | Qt::AlignVCenter);
    }
    // A long description (a long service name) wraps rather than pushing the caps out of the window.
    grid->setColumnStretch(0, 1);
    stack->addLayout(grid);
    stack->addWidget(divider(this));

    auto* tip = wrappingLabel(tr("Tip: You can also navigate between different panes by swiping with two "
                                 "fingers on your touchpad."),
                              this);
    tip->setFont(subheadlineFont(font()));
    tip->setForegroundRole(QPalette::PlaceholderText);
    stack->addWidget(tip);
}

// The layout's own hint measures the wrapped text at a narrower width, which is taller.
QSize KeyboardShortcutsView::sizeHint() const {
    return {contentWidth, layout()->totalHeightForWidth(contentWidth)};
}

void KeyboardShortcutsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored from the taskbar is not opened again.
    if (!event->spontaneous()) {
        UsageStats::signal("view_keyboard_shortcuts");
    }
}

} // namespace Marrowbell
