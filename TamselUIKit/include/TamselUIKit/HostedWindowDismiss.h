#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace TamselUIKit {

/// How hosted content closes the window or sheet that hosts it: the host sets the action, the content
/// calls `dismiss()`. The host makes it a child of its window, where `find` reaches it from any widget of
/// the content. GUI thread.
class HostedWindowDismiss : public QObject {
    Q_OBJECT

public:
    explicit HostedWindowDismiss(std::function<void()> action = {}, QObject* parent = nullptr);

    void setAction(std::function<void()> action) { action_ = std::move(action); }

    /// Runs the action; does nothing while none is set.
    void dismiss();

    /// The object of the nearest host around `widget` (the widget itself included), or null.
    static HostedWindowDismiss* find(const QWidget* widget);

private:
    std::function<void()> action_;
};

} // namespace TamselUIKit
