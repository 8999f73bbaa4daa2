#pragma once

#include "TamselUIKit/IncludedLogs.h"

#include <QString>
#include <QWidget>
#include <optional>

namespace TamselUIKit {

class FeedbackView;

/// The "Send Feedback" window: a FeedbackView in a window of its own, centred, that closes itself once
/// the feedback is sent. Showing it is the caller's; with a parent it stays above the parent's window.
/// GUI thread.
class FeedbackWindowController : public QWidget {
    Q_OBJECT

public:
    /// `token` is the mail service's server token, `email` the address the feedback goes to; see
    /// FeedbackView.
    FeedbackWindowController(const QString& token, const QString& productName, const QString& email,
                             const std::optional<IncludedLogs>& includedLogs, QWidget* parent = nullptr);

    FeedbackView* feedbackView() const { return view_; }

private:
    FeedbackView* view_ = nullptr;
};

} // namespace TamselUIKit
