#pragma once

#include <QString>
#include <functional>

namespace TamselUIKit {

/// One row of the welcome window's action column, such as "New Document". An action with an empty title
/// is drawn as a separator line; divider() is the shared one.
class WelcomeAction {
public:
    WelcomeAction(QString title, QString symbolName, std::function<void()> action);

    /// A separator between action rows.
    static const WelcomeAction& divider();

    const QString& title() const { return title_; }
    const QString& symbolName() const { return symbolName_; }
    /// Run on the GUI thread when the row is clicked.
    const std::function<void()>& action() const { return action_; }
    bool isDivider() const { return title_.isEmpty(); }

private:
    QString title_;
    QString symbolName_;
    std::function<void()> action_;
};

} // namespace TamselUIKit
