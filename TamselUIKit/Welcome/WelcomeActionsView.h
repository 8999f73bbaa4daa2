#pragma once

#include "TamselUIKit/WelcomeAction.h"

#include <QList>
#include <QToolButton>
#include <QWidget>

class QVBoxLayout;

namespace TamselUIKit {

/// One action row: a borderless button with the action's symbol and title, drawn in the accent colour
/// while the pointer is over it.
class WelcomeActionView : public QToolButton {
    Q_OBJECT

public:
    explicit WelcomeActionView(const WelcomeAction& action, QWidget* parent = nullptr);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setIn(bool isIn);
};

/// The column of action rows, in list order; an action without a title is a separator line.
class WelcomeActionsView : public QWidget {
    Q_OBJECT

public:
    explicit WelcomeActionsView(QWidget* parent = nullptr);

    void setActions(const QList<WelcomeAction>& actions);

private:
    QVBoxLayout* rows_ = nullptr;
};

} // namespace TamselUIKit
