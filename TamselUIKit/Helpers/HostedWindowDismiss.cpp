#include "TamselUIKit/HostedWindowDismiss.h"

#include <QWidget>

namespace TamselUIKit {

HostedWindowDismiss::HostedWindowDismiss(std::function<void()> action, QObject* parent)
    : QObject(parent)
    , action_(std::move(action)) {}

void HostedWindowDismiss::dismiss() {
    if (action_) {
        action_();
    }
}

HostedWindowDismiss* HostedWindowDismiss::find(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (auto* found = widget->findChild<HostedWindowDismiss*>(QString(), Qt::FindDirectChildrenOnly)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace TamselUIKit
