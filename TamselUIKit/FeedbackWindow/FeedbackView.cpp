#include "TamselUIKit/FeedbackView.h"

#include "TamselUIKit/FeedbackSender.h"
#include "TamselUIKit/LogCollector.h"
#include "TamselUIKit/SymbolIcon.h"

#include <QFormLayout>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QTextBoundaryFinder>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

namespace {

constexpr int messageLines = 15;
constexpr int formMinimumWidth = 420;
constexpr int formIdealWidth = 520;
constexpr int formMaximumWidth = 680;

int userPerceivedLength(const QString& text) {
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (graphemes.toNextBoundary() != -1) {
        ++count;
    }
    return count;
}

QLineEdit* makeLineEdit(const QString& objectName, const QString& placeholder, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setPlaceholderText(placeholder);
    return field;
}

QPlainTextEdit* makeMessageEdit(QWidget* parent) {
    auto* message = new QPlainTextEdit(parent);
    message->setObjectName(u"message"_s);
    message->setTabChangesFocus(true);
    const QMargins margins = message->contentsMargins();
    const int documentMargin = 2 * static_cast<int>(message->document()->documentMargin());
    message->setFixedHeight(message->fontMetrics().lineSpacing() * messageLines + documentMargin +
                            margins.top() + margins.bottom() + 2 * message->frameWidth());
    return message;
}

} // namespace

FeedbackView::FeedbackView(QString token, QString productName, QString email,
                           std::optional<IncludedLogs> includedLogs, QWidget* parent)
    : QWidget(parent)
    , token_(std::move(token))
    , productName_(std::move(productName))
    , email_(std::move(email))
    , includedLogs_(std::move(includedLogs))
    , userName_(makeLineEdit(u"name"_s, tr("optional"), this))
    , userEmail_(makeLineEdit(u"email"_s, tr("if you want a response"), this))
    , message_(makeMessageEdit(this))
    , sendButton_(new QToolButton(this)) {
    auto* form = new QFormLayout;
    form->addRow(tr("Name:"), userName_);
    form->addRow(tr("Email:"), userEmail_);
    form->addRow(tr("Message:"), message_);

    sendButton_->setObjectName(u"send"_s);
    sendButton_->setText(tr("Send"));
    sendButton_->setIcon(symbolIcon(u"paperplane"_s));
    sendButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(sendButton_, &QToolButton::clicked, this, &FeedbackView::send);
    connect(message_, &QPlainTextEdit::textChanged, this, &FeedbackView::updateSendButton);
    auto* actions = new QHBoxLayout;
    actions->addStretch();
    actions->addWidget(sendButton_);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addStretch();
    column->addLayout(actions);
    setMinimumWidth(formMinimumWidth);
    setMaximumWidth(formMaximumWidth);
    resize(sizeHint());
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    updateSendButton();
}

FeedbackView::~FeedbackView() {
    stopSource_.request_stop();
}

QSize FeedbackView::sizeHint() const {
    return {formIdealWidth, QWidget::sizeHint().height()};
}

bool FeedbackView::canSend() const {
    return !isSending_ && userPerceivedLength(message_->toPlainText()) >= minimumMessageLength;
}

void FeedbackView::send() {
    if (!canSend()) {
        return;
    }
    setSending(true);
    auto* sending = new QFutureWatcher<void>(this);
    connect(sending, &QFutureWatcherBase::finished, this, [this, sending] {
        sending->deleteLater();
        try {
            sending->future().waitForFinished(); // rethrows the sender's error
        } catch (...) {
            didFail();
            return;
        }
        didSend();
    });
    sending->setFuture(QtConcurrent::run([token = token_, email = email_, name = userName_->text(),
                                          replyTo = userEmail_->text(), productName = productName_,
                                          message = message_->toPlainText(), logs = logs_,
                                          stopToken = stopSource_.get_token()] {
        FeedbackSender::send(token, email, name, replyTo, productName, message, logs, stopToken);
    }));
}

void FeedbackView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        collectLogs();
    }
}

void FeedbackView::collectLogs() {
    if (!includedLogs_) {
        return;
    }
    auto* collecting = new QFutureWatcher<QString>(this);
    connect(collecting, &QFutureWatcherBase::finished, this, [this, collecting] {
        collecting->deleteLater();
        logs_ = collecting->result();
        Q_EMIT logsCollected();
    });
    collecting->setFuture(
        QtConcurrent::run([included = *includedLogs_] { return TamselUIKit::collectLogs(included); }));
}

void FeedbackView::setSending(bool sending) {
    isSending_ = sending;
    userName_->setEnabled(!sending);
    userEmail_->setEnabled(!sending);
    message_->setEnabled(!sending);
    updateSendButton();
}

void FeedbackView::updateSendButton() {
    sendButton_->setEnabled(canSend());
}

void FeedbackView::didSend() {
    message_->clear();
    logs_.clear();
    setSending(false);
    Q_EMIT dismissRequested();
}

void FeedbackView::didFail() {
    // The logs stay so that a second attempt still carries them.
    setSending(false);
    auto* alert = new QMessageBox(QMessageBox::Warning, QString(), tr("Your feedback could not be sent."),
                                  QMessageBox::Ok, this);
    alert->setObjectName(u"failureAlert"_s);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    alert->open();
}

} // namespace TamselUIKit
