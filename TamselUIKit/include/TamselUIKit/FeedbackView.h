#pragma once

#include "TamselUIKit/IncludedLogs.h"

#include <QString>
#include <QWidget>
#include <optional>
#include <stop_token>

class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace TamselUIKit {

/// The feedback form: the user's name and e-mail address (both optional) and a message of at least 11
/// user-perceived characters, mailed by "Send" through FeedbackSender to `email` with the log lines that
/// `includedLogs` selects attached (collected anew each time the form is shown). While a mail is under way
/// the form is disabled. Success empties the message and emits dismissRequested(); failure keeps what was
/// typed and the collected logs and shows "Your feedback could not be sent.". GUI thread.
class FeedbackView : public QWidget {
    Q_OBJECT

public:
    /// The fewest user-perceived characters a message needs.
    static constexpr int minimumMessageLength = 11;

    FeedbackView(QString token, QString productName, QString email, std::optional<IncludedLogs> includedLogs,
                 QWidget* parent = nullptr);
    ~FeedbackView() override;

    bool canSend() const;
    bool isSending() const { return isSending_; }
    /// The log text the next mail carries.
    const QString& logs() const { return logs_; }

    /// Sends the form as "Send" does; does nothing unless canSend().
    void send();

    /// The form's ideal width (a window opens at it) and the height of its rows.
    QSize sizeHint() const override;

Q_SIGNALS:
    /// The mail was accepted: the host closes the form.
    void dismissRequested();
    /// A log collection finished and logs() holds its text.
    void logsCollected();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void collectLogs();
    void setSending(bool sending);
    void updateSendButton();
    void didSend();
    void didFail();

    const QString token_;
    const QString productName_;
    const QString email_;
    const std::optional<IncludedLogs> includedLogs_;
    QString logs_;
    bool isSending_ = false;
    std::stop_source stopSource_;

    QLineEdit* userName_ = nullptr;
    QLineEdit* userEmail_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
    QToolButton* sendButton_ = nullptr;
};

} // namespace TamselUIKit
