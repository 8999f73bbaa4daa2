#include "WelcomeActionsView.h"

#include "TamselUIKit/SymbolIcon.h"

#include <QFrame>
#include <QVBoxLayout>

namespace TamselUIKit {

namespace {

constexpr int symbolSide = 16;
constexpr int rowSpacing = 8;

QWidget* makeDivider(QWidget* parent) {
    auto* padded = new QWidget(parent);
    auto* layout = new QVBoxLayout(padded);
    layout->setContentsMargins(0, rowSpacing, 0, rowSpacing);
    auto* line = new QFrame(padded);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    return padded;
}

} // namespace

WelcomeActionView::WelcomeActionView(const WelcomeAction& action, QWidget* parent)
    : QToolButton(parent) {
    setText(action.title());
    setIcon(symbolIcon(action.symbolName()));
    setIconSize(QSize(symbolSide, symbolSide));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setAutoRaise(true);
    connect(this, &QToolButton::clicked, this, [run = action.action()] {
        if (run) {
            run();
        }
    });
}

void WelcomeActionView::enterEvent(QEnterEvent* event) {
    QToolButton::enterEvent(event);
    setIn(true);
}

void WelcomeActionView::leaveEvent(QEvent* event) {
    QToolButton::leaveEvent(event);
    setIn(false);
}

void WelcomeActionView::setIn(bool isIn) {
    QPalette colours = palette();
    const QPalette base = parentWidget() ? parentWidget()->palette() : QPalette();
    colours.setColor(QPalette::ButtonText,
                     isIn ? base.color(QPalette::Highlight) : base.color(QPalette::ButtonText));
    setPalette(colours);
}

WelcomeActionsView::WelcomeActionsView(QWidget* parent)
    : QWidget(parent)
    , rows_(new QVBoxLayout(this)) {
    rows_->setContentsMargins(0, 0, 0, 0);
    rows_->setSpacing(rowSpacing);
}

void WelcomeActionsView::setActions(const QList<WelcomeAction>& actions) {
    // Rows are told apart by position, so equal titles (two dividers) are no problem.
    while (QLayoutItem* row = rows_->takeAt(0)) {
        delete row->widget();
        delete row;
    }
    for (const auto& action : actions) {
        rows_->addWidget(action.isDivider() ? makeDivider(this) : new WelcomeActionView(action, this));
    }
}

} // namespace TamselUIKit
