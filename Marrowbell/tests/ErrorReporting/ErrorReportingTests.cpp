#include "ErrorReporting/ErrorReporting.h"
#include "ErrorReporting/SupportMail.h"

#include <DemoService/DemoService.h>
#include <Foundation/CancellationError.h>
#include <Foundation/DecodingError.h>
#include <Foundation/URL.h>
#include <MarrowbellCore/Store/SQLError.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/ServiceConfiguration.h>
#include <MusicKit/URLError.h>
#include <MusicKit/URLRequest.h>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <TamselUIKit/FeedbackSender.h>
#include <UsageStats/SignalCache.h>
#include <UsageStats/SignalManager.h>
#include <UsageStats/UsageStats.h>
#include <UsageStats/UsageStatsConfiguration.h>
#include <UsageStats/UsageStatsManager.h>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
namespace ErrorReporting = Marrowbell::ErrorReporting;

namespace {

constexpr auto deadline = 10s;

class ErrorReportingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home->filePath(u"config"_s)));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home->filePath(u"cache"_s)));
        // Nothing listens on the discard port, so no upload leaves the machine.
        UsageStats::initialize(std::make_shared<UsageStats::UsageStatsConfiguration>(
            "ERROR-REPORTING-TESTS", std::nullopt, "http://127.0.0.1:9"));
        service =
            std::make_unique<DemoService::DemoService>(DemoService::DemoService::Options{.songCount = 10});
        service->start();
        TamselUIKit::FeedbackSender::setBaseURL(QString::fromStdString(service->baseURL()));
    }
    static void TearDownTestSuite() {
        EXPECT_TRUE(ErrorReporting::waitForPendingMails(deadline));
        service.reset();
        UsageStats::terminate();
        home.reset();
    }

    /// The parameters of the error signal with this id, once the client has recorded it.
    static std::optional<UsageStats::Parameters> errorSignal(const std::string& id) {
        const auto end = std::chrono::steady_clock::now() + deadline;
        while (std::chrono::steady_clock::now() < end) {
            for (const auto& signal :
                 UsageStats::UsageStatsManager::shared()->signalManager()->cache()->waitingSignals()) {
                if (signal.type == "UsageStats.Error.occurred" &&
                    signal.payload.at("UsageStats.Error.id") == id) {
                    return signal.payload;
                }
            }
            std::this_thread::sleep_for(5ms);
        }
        return std::nullopt;
    }

    static std::vector<QJsonObject> mailsSince(std::size_t count) {
        EXPECT_TRUE(ErrorReporting::waitForPendingMails(deadline));
        std::vector<QJsonObject> bodies;
        const auto mails = service->feedbackMailbox().mails();
        for (std::size_t index = count; index < mails.size(); ++index) {
            EXPECT_EQ(mails[index].token, Marrowbell::feedbackMailToken);
            bodies.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(mails[index].body)).object());
        }
        return bodies;
    }

    static inline std::unique_ptr<QTemporaryDir> home;
    static inline std::unique_ptr<DemoService::DemoService> service;
};

TEST_F(ErrorReportingTest, TheSignalCarriesTheOperationTheDomainTheCodeAndTheDescription) {
    ErrorReporting::report(MusicKit::URLError(MusicKit::URLError::Code::timedOut, "The request timed out."),
                           "load_songs");
    ErrorReporting::report(
        std::make_exception_ptr(MusicKit::MusicDataRequest::Error(40400, 404, "Not Found")),
        "add_to_library");
    ErrorReporting::report(MarrowbellCore::SQLError("database is locked"), "load_playlists");

    const auto timedOut = errorSignal("error_load_songs");
    ASSERT_TRUE(timedOut);
    EXPECT_EQ(timedOut->at("domain"), "MusicKit.URLError");
    EXPECT_EQ(timedOut->at("code"), "-1001");
    EXPECT_EQ(timedOut->at("UsageStats.Error.message"), "The request timed out.");
    EXPECT_EQ(timedOut->count("UsageStats.Error.category"), 0u);

    const auto answer = errorSignal("error_add_to_library");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->at("domain"), "MusicKit.MusicDataRequest.Error");
    EXPECT_EQ(answer->at("code"), "40400");

    const auto store = errorSignal("error_load_playlists");
    ASSERT_TRUE(store);
    EXPECT_EQ(store->at("domain"), "MarrowbellCore.SQLError");
    EXPECT_EQ(store->at("UsageStats.Error.message"), "database is locked");
}

TEST_F(ErrorReportingTest, CancellationsAreNotReported) {
    ErrorReporting::report(Foundation::CancellationError(), "load_stations");
    ErrorReporting::report(std::make_exception_ptr(Foundation::CancellationError()), "load_made_for_you");
    ErrorReporting::report(std::runtime_error("after the cancellations"), "sync");
    // Signals are recorded in the order they were sent, so the last one arriving means the others were
    // dropped.
    const auto after = errorSignal("error_sync");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->at("domain"), "std.runtime_error");
    for (const auto& signal :
         UsageStats::UsageStatsManager::shared()->signalManager()->cache()->waitingSignals()) {
        if (signal.type == "UsageStats.Error.occurred") {
            EXPECT_NE(signal.payload.at("UsageStats.Error.id"), "error_load_stations");
            EXPECT_NE(signal.payload.at("UsageStats.Error.id"), "error_load_made_for_you");
        }
    }
}

TEST_F(ErrorReportingTest, OnlyHavingNoNetworkIsNotReportedAndARefusingHostIs) {
    DemoService::DemoService closed(DemoService::DemoService::Options{.songCount = 1});
    closed.start();
    const std::string refusing = closed.baseURL();
    closed.stop();
    // A label longer than 63 characters fails to resolve before any query leaves the machine.
    const std::string unresolvable = "http://" + std::string(64, 'a') + ".invalid";
    MusicKit::ServiceConfiguration::setCurrent(service->configuration());
    auto failureOf = [](const std::string& address) {
        try {
            MusicKit::MusicDataRequest(
                MusicKit::URLRequest(*Foundation::URL::fromString(address + "/v1/me/storefront")))
                .response();
        } catch (...) {
            return std::current_exception();
        }
        return std::exception_ptr();
    };
    ErrorReporting::report(failureOf(refusing), "skip_next");
    ErrorReporting::report(failureOf(unresolvable), "skip_previous");
    MusicKit::ServiceConfiguration::setCurrent(std::nullopt);
    ErrorReporting::report(MusicKit::URLError(MusicKit::URLError::Code::networkConnectionLost, "lost"),
                           "resume_playback");

    // Signals are recorded in the order they were sent.
    const auto after = errorSignal("error_resume_playback");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->at("code"), "-1005") << "a connection lost midway is still reported";
    const auto refused = errorSignal("error_skip_next");
    ASSERT_TRUE(refused) << "the host answered: the service cannot be connected to";
    EXPECT_EQ(refused->at("domain"), "MusicKit.URLError");
    EXPECT_EQ(refused->at("code"), "-1004");
    for (const auto& signal :
         UsageStats::UsageStatsManager::shared()->signalManager()->cache()->waitingSignals()) {
        if (signal.type == "UsageStats.Error.occurred") {
            EXPECT_NE(signal.payload.at("UsageStats.Error.id"), "error_skip_previous");
        }
    }
}

TEST_F(ErrorReportingTest, EveryDecodingErrorMailsAShortReport) {
    const std::size_t before = service->feedbackMailbox().mails().size();
    const Foundation::DecodingError error(Foundation::DecodingError::Kind::keyNotFound,
                                          {"data", "Index 3", "id"}, "No value associated with key \"id\".");
    ErrorReporting::report(error, "load_albums");
    ErrorReporting::report(error, "load_albums");
    ErrorReporting::report(std::make_exception_ptr(error), "load_artists");
    ErrorReporting::report(MarrowbellCore::SQLError("no such table: songs"), "load_selected_album");

    const auto signal = errorSignal("error_load_albums");
    ASSERT_TRUE(signal);
    EXPECT_EQ(signal->at("domain"), "Foundation.DecodingError");
    EXPECT_EQ(signal->at("code"), "2");

    const auto mails = mailsSince(before);
    ASSERT_EQ(mails.size(), 3u) << "one mail for each decoding error, none for the store's error";
    const QString description = QString::fromStdString(error.what());
    QStringList texts;
    for (const QJsonObject& mail : mails) {
        EXPECT_EQ(mail.keys(), (QStringList{u"From"_s, u"Subject"_s, u"TextBody"_s, u"To"_s}));
        EXPECT_EQ(mail[u"To"_s].toString().toStdString(), Marrowbell::supportMailAddress);
        EXPECT_EQ(mail[u"Subject"_s].toString(), u"Marrowbell Feedback"_s);
        texts.append(mail[u"TextBody"_s].toString());
    }
    texts.sort();
    const QString debugDescription =
        u"Error Domain=Foundation.DecodingError Code=2 \""_s + description + u"\""_s;
    const QString albums = u"Error load_albums: "_s + description + u"\n\n"_s + debugDescription;
    EXPECT_EQ(texts, (QStringList{albums, albums,
                                  u"Error load_artists: "_s + description + u"\n\n"_s + debugDescription}));
}

TEST_F(ErrorReportingTest, AFailedMailIsDroppedAndTheNextDecodingErrorMailsAgain) {
    const std::size_t before = service->feedbackMailbox().mails().size();
    service->feedbackMailbox().answerErrorCode(300);
    const Foundation::DecodingError error(Foundation::DecodingError::Kind::dataCorrupted, {},
                                          "The given data was not valid JSON.");
    ErrorReporting::report(error, "load_playlist");
    EXPECT_EQ(mailsSince(before).size(), 1u);
    service->feedbackMailbox().answerErrorCode(0);
    ErrorReporting::report(error, "load_playlist");
    EXPECT_EQ(mailsSince(before).size(), 2u);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
