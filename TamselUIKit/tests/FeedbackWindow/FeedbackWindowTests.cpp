#include <DemoService/DemoServiceTest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <TamselUIKit/FeedbackSender.h>
#include <TamselUIKit/FeedbackView.h>
#include <TamselUIKit/FeedbackWindowController.h>
#include <UnifiedLog/LogStore.h>
#include <UnifiedLog/Logger.h>
#include <gtest/gtest.h>

namespace TamselUIKit {
namespace {

using namespace Qt::StringLiterals;

constexpr int waitMilliseconds = 10'000;
const QString token = u"0f5e5c8a-2a4b-4d55-9a0e-6c1d2b3a4f50"_s;
const QString supportAddress = u"support@example.com"_s;

class FeedbackWindowTest : public DemoService::Testing::DemoServiceTest<10, 1> {
protected:
    void SetUp() override {
        DemoServiceTest::SetUp();
        FeedbackSender::setBaseURL(QString::fromStdString(service->baseURL()));
        service->feedbackMailbox().answerErrorCode(0);
        mailsBefore = service->feedbackMailbox().mails().size();
        UnifiedLog::LogStore::shared().removeAll();
    }

    static FeedbackWindowController* makeWindow(const std::optional<IncludedLogs>& includedLogs) {
        auto* window = new FeedbackWindowController(token, u"Marrowbell"_s, supportAddress, includedLogs);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        return window;
    }
    static QLineEdit* field(const FeedbackView& view, const QString& name) {
        return view.findChild<QLineEdit*>(name);
    }
    static QPlainTextEdit* message(const FeedbackView& view) { return view.findChild<QPlainTextEdit*>(); }
    static QToolButton* sendButton(const FeedbackView& view) {
        return view.findChild<QToolButton*>(u"send"_s);
    }

    std::vector<QJsonObject> newMails() const {
        std::vector<QJsonObject> bodies;
        const auto mails = service->feedbackMailbox().mails();
        for (auto mail = mails.begin() + static_cast<std::ptrdiff_t>(mailsBefore); mail != mails.end();
             ++mail) {
            bodies.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(mail->body)).object());
        }
        return bodies;
    }

    std::size_t mailsBefore = 0;
};

TEST_F(FeedbackWindowTest, SendNeedsElevenUserPerceivedCharacters) {
    const FeedbackView view(token, u"Marrowbell"_s, supportAddress, std::nullopt);
    const QString accentedE = u"e\u0301"_s;
    message(view)->setPlainText(accentedE.repeated(10));
    EXPECT_FALSE(view.canSend());
    EXPECT_FALSE(sendButton(view)->isEnabled());
    message(view)->setPlainText(accentedE.repeated(11));
    EXPECT_TRUE(sendButton(view)->isEnabled());

    const QString family = u"\U0001F468\u200D\U0001F469\u200D\U0001F467"_s;
    message(view)->setPlainText(family.repeated(10));
    EXPECT_FALSE(view.canSend());
    message(view)->setPlainText(u"          \n"_s); // blanks and line breaks count
    EXPECT_TRUE(view.canSend());
}

TEST_F(FeedbackWindowTest, OneSendPerClickWithTheFormDisabledThenSuccessClearsAndCloses) {
    std::unique_ptr<FeedbackWindowController> window(makeWindow(std::nullopt));
    FeedbackView& view = *window->feedbackView();
    window->show();
    field(view, u"name"_s)->setText(u"Ada"_s);
    field(view, u"email"_s)->setText(u"ada@example.com"_s);
    message(view)->setPlainText(u"The shuffle button forgets its state."_s);

    QTest::mouseClick(sendButton(view), Qt::LeftButton);
    EXPECT_TRUE(view.isSending());
    for (QWidget* part : std::initializer_list<QWidget*>{field(view, u"name"_s), field(view, u"email"_s),
                                                         message(view), sendButton(view)}) {
        EXPECT_FALSE(part->isEnabled());
    }
    QTest::mouseClick(sendButton(view), Qt::LeftButton);
    view.send();

    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, waitMilliseconds));
    EXPECT_TRUE(message(view)->toPlainText().isEmpty());
    EXPECT_FALSE(view.isSending());
    const auto mails = newMails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0][u"TextBody"_s].toString(), u"Ada wrote:\n\nThe shuffle button forgets its state."_s);
    EXPECT_EQ(mails[0][u"ReplyTo"_s].toString(), u"ada@example.com"_s);
    EXPECT_EQ(mails[0][u"To"_s].toString(), supportAddress);
    EXPECT_EQ(mails[0][u"Subject"_s].toString(), u"Marrowbell Feedback"_s);
    EXPECT_FALSE(mails[0].contains(u"Attachments"_s));
}

TEST_F(FeedbackWindowTest, TheWindowOpensCentredAtTheIdealWidthAndResizesWithinTheFormsBounds) {
    std::unique_ptr<FeedbackWindowController> window(makeWindow(std::nullopt));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(window->windowTitle(), u"Send Feedback"_s);
    EXPECT_EQ(window->width(), 520);
    // Within a pixel: the height may round either way.
    EXPECT_LE(
        (window->geometry().center() - window->screen()->availableGeometry().center()).manhattanLength(), 1);
    window->resize(1000, window->height() + 300);
    EXPECT_EQ(window->width(), 680);
    window->resize(200, window->height());
    EXPECT_EQ(window->width(), 420);
    EXPECT_EQ(window->minimumHeight(), window->maximumHeight());
}

TEST_F(FeedbackWindowTest, FailureKeepsTheTextAndTheLogsAndShowsTheAlert) {
    UnifiedLog::Logger("com.example.kit", "feedback").error("Disk is full");
    service->feedbackMailbox().answerErrorCode(406);
    std::unique_ptr<FeedbackWindowController> window(makeWindow(IncludedLogs::currentProcess()));
    FeedbackView& view = *window->feedbackView();
    QSignalSpy collected(&view, &FeedbackView::logsCollected);
    window->show();
    ASSERT_TRUE(collected.wait(waitMilliseconds));
    message(view)->setPlainText(u"Playback stops after every song."_s);

    view.send();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.isSending(); }, waitMilliseconds));
    const auto* alert = view.findChild<QMessageBox*>(u"failureAlert"_s);
    ASSERT_NE(alert, nullptr);
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->text(), u"Your feedback could not be sent."_s);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(message(view)->toPlainText(), u"Playback stops after every song."_s);
    EXPECT_TRUE(message(view)->isEnabled());
    EXPECT_TRUE(view.canSend());
    EXPECT_FALSE(view.logs().isEmpty());
}

TEST_F(FeedbackWindowTest, TheMailCarriesTheProcesssErrorLinesAsLogsTxt) {
    const UnifiedLog::Logger logger("com.example.kit", "feedback");
    logger.error("Disk is full: %@", {"sda"});
    logger.info("Not an error");
    logger.fault("Store damaged");
    std::unique_ptr<FeedbackWindowController> window(makeWindow(IncludedLogs::currentProcess()));
    FeedbackView& view = *window->feedbackView();
    QSignalSpy collected(&view, &FeedbackView::logsCollected);
    window->show();
    ASSERT_TRUE(collected.wait(waitMilliseconds));
    message(view)->setPlainText(u"Artwork is missing for some albums."_s);

    view.send();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, waitMilliseconds));
    const auto mails = newMails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0][u"TextBody"_s].toString(), u"Artwork is missing for some albums."_s);
    const QJsonArray attachments = mails[0][u"Attachments"_s].toArray();
    ASSERT_EQ(attachments.size(), 1);
    const QJsonObject attachment = attachments[0].toObject();
    EXPECT_EQ(attachment[u"Name"_s].toString(), u"logs.txt"_s);
    EXPECT_EQ(attachment[u"ContentType"_s].toString(), u"text/plain"_s);
    EXPECT_EQ(QByteArray::fromBase64(attachment[u"Content"_s].toString().toLatin1()),
              QByteArray("com.example.kit; feedback; 4; Disk is full: sda\n"
                         "com.example.kit; feedback; 5; Store damaged\n"));
    EXPECT_TRUE(view.logs().isEmpty());
}

} // namespace
} // namespace TamselUIKit
