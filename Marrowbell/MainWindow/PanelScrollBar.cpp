#include "MainWindow/PanelScrollBar.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace Marrowbell::PanelScrollBar {
namespace {

constexpr int handleAlpha = 100;
constexpr int handleMargin = 2;
constexpr int handleMinimumLength = 24;

} // namespace

void apply(QAbstractScrollArea& list) {
    // The style's own bar draws its track darker than its handle, which then reads as the handle.
    const QColor text = list.palette().color(QPalette::Text);
    list.verticalScrollBar()->setStyleSheet(
        QStringLiteral(
            "QScrollBar:vertical { background: transparent; width: %1px; margin: 0px; }"
            "QScrollBar::handle:vertical { background: rgba(%2, %3, %4, %5); border-radius: %6px;"
            " min-height: %7px; margin: %8px; }"
            "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; }"
            "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }")
            .arg(width)
            .arg(text.red())
            .arg(text.green())
            .arg(text.blue())
            .arg(handleAlpha)
            .arg((width - 2 * handleMargin) / 2)
            .arg(handleMinimumLength)
            .arg(handleMargin));
}

} // namespace Marrowbell::PanelScrollBar
