#include "TamselUIKit/WelcomeAction.h"

namespace TamselUIKit {

WelcomeAction::WelcomeAction(QString title, QString symbolName, std::function<void()> action)
    : title_(std::move(title))
    , symbolName_(std::move(symbolName))
    , action_(std::move(action)) {}

const WelcomeAction& WelcomeAction::divider() {
    static const WelcomeAction shared(QString(), QString(), [] {});
    return shared;
}

} // namespace TamselUIKit
