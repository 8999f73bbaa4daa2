#include "TamselUIKit/FeedbackSender.h"

#include <DemoService/DemoService.h>
#include <Foundation/CancellationError.h>
#include <Foundation/DecodingError.h>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using TamselUIKit::FeedbackSender;

namespace {

class FeedbackSenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        service =
            std::make_unique<DemoService::DemoService>(DemoService::DemoService::Options{.songCount = 10});
        service->start();
    }
    static void TearDownTestSuite() { service.reset(); }
    void SetUp() override {
        FeedbackSender::setBaseURL(QString::fromStdString(service->baseURL()) + u"/"_s);
        mailbox().answerErrorCode(0);
    }
    void TearDown() override {
        FeedbackSender::setBaseURL(QString::fromLatin1(FeedbackSender::defaultBaseURL));
    }

    static DemoService::FeedbackMailbox& mailbox() { return service->feedbackMailbox(); }

    static void sendPlainMessage() {
        FeedbackSender::send(u"token"_s, u"support@example.com"_s, {}, {}, u"Marrowbell"_s, u"Hello"_s, {});
    }

    static QJsonObject lastMailBody() {
        const auto mails = mailbox().mails();
        if (mails.empty()) {
            ADD_FAILURE() << "no mail arrived";
            return {};
        }
        return QJsonDocument::fromJson(QByteArray::fromStdString(mails.back().body)).object();
    }

    static inline std::unique_ptr<DemoService::DemoService> service;
};

TEST_F(FeedbackSenderTest, AFullMessageCarriesEveryPartOnce) {
    const QString logs = u"app; sync; 4; Failed to load songs: é\n"_s;
    FeedbackSender::send(u"3d8f2a61-9c47-4e0b-a5d2-60f1b7e49c83"_s, u"support@example.com"_s, u"Ada"_s,
                         u"ada@example.org"_s, u"Marrowbell"_s, u"The list is empty."_s, logs);
    const auto mail = mailbox().mails().back();
    EXPECT_EQ(mail.token, "3d8f2a61-9c47-4e0b-a5d2-60f1b7e49c83");
    EXPECT_EQ(mail.accept, "application/json");
    EXPECT_EQ(mail.contentType, "application/json");

    const QJsonObject body = lastMailBody();
    EXPECT_EQ(body.keys(),
              (QStringList{u"Attachments"_s, u"From"_s, u"ReplyTo"_s, u"Subject"_s, u"TextBody"_s, u"To"_s}));
    EXPECT_EQ(body[u"From"_s].toString(), u"support@example.com"_s);
    EXPECT_EQ(body[u"To"_s].toString(), u"support@example.com"_s);
    EXPECT_EQ(body[u"ReplyTo"_s].toString(), u"ada@example.org"_s);
    EXPECT_EQ(body[u"Subject"_s].toString(), u"Marrowbell Feedback"_s);
    EXPECT_EQ(body[u"TextBody"_s].toString(), u"Ada wrote:\n\nThe list is empty."_s);
    const QJsonArray attachments = body[u"Attachments"_s].toArray();
    ASSERT_EQ(attachments.size(), 1);
    const QJsonObject attachment = attachments[0].toObject();
    EXPECT_EQ(attachment.keys(), (QStringList{u"Content"_s, u"ContentType"_s, u"Name"_s}));
    EXPECT_EQ(attachment[u"Name"_s].toString(), u"logs.txt"_s);
    EXPECT_EQ(attachment[u"ContentType"_s].toString(), u"text/plain"_s);
    EXPECT_EQ(attachment[u"Content"_s].toString().toLatin1(), logs.toUtf8().toBase64());
}

TEST_F(FeedbackSenderTest, EmptyOptionalPartsAreLeftOut) {
    FeedbackSender::send(u"token"_s, u"support@example.com"_s, {}, {}, {}, u"Only this."_s, {});
    const QJsonObject body = lastMailBody();
    EXPECT_EQ(body.keys(), (QStringList{u"From"_s, u"Subject"_s, u"TextBody"_s, u"To"_s}));
    EXPECT_EQ(body[u"TextBody"_s].toString(), u"Only this."_s);
    EXPECT_EQ(body[u"Subject"_s].toString(), u" Feedback"_s);
}

TEST_F(FeedbackSenderTest, ErrorCodeZeroIsSuccessWhateverTheStatus) {
    mailbox().answerWith(422, R"({"ErrorCode":0,"Message":"Accepted anyway"})", "application/json");
    EXPECT_NO_THROW(sendPlainMessage());
}

TEST_F(FeedbackSenderTest, ANonZeroErrorCodeIsThrownWithTheCode) {
    mailbox().answerErrorCode(406);
    try {
        sendPlainMessage();
        FAIL() << "a refused mail returned normally";
    } catch (const TamselUIKit::SendResponse& response) {
        EXPECT_EQ(response.errorCode(), 406);
    }
}

TEST_F(FeedbackSenderTest, AReplyWithoutAnIntegerErrorCodeIsADecodingError) {
    for (const auto& [body, contentType] :
         {std::pair{"<html><body>Bad Gateway</body></html>", "text/html"}, std::pair{"", "application/json"},
          std::pair{R"({"Message":"OK"})", "application/json"},
          std::pair{R"({"ErrorCode":"0"})", "application/json"}, std::pair{"[0]", "application/json"}}) {
        mailbox().answerWith(502, body, contentType);
        EXPECT_THROW(sendPlainMessage(), Foundation::DecodingError) << body;
    }
}

TEST(FeedbackSenderTransportTest, ARefusedConnectionIsATransportError) {
    // Port 9 (discard) has no listener on the test machines.
    FeedbackSender::setBaseURL(u"http://127.0.0.1:9"_s);
    EXPECT_THROW(FeedbackSender::send(u"t"_s, u"a@example.com"_s, {}, {}, {}, u"m"_s, {}),
                 TamselUIKit::FeedbackTransportError);
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_THROW(
        FeedbackSender::send(u"t"_s, u"a@example.com"_s, {}, {}, {}, u"m"_s, {}, stopped.get_token()),
        Foundation::CancellationError);
    FeedbackSender::setBaseURL(QString::fromLatin1(FeedbackSender::defaultBaseURL));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
