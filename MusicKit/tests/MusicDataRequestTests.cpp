#include <DemoService/DemoServiceTest.h>
#include <Foundation/CancellationError.h>
#include <MusicKit/MusicAuthorization.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/ServiceConfiguration.h>
#include <MusicKit/URLError.h>
#include <UnifiedLog/LogStore.h>
#include <gtest/gtest.h>
#include <thread>

using namespace MusicKit;
using DemoService::DemoFault;

namespace {

class MusicDataRequestTests : public DemoService::Testing::DemoServiceTest<120, 3> {
protected:
    static MusicDataRequest request(const std::string& path) {
        return MusicDataRequest(URLRequest(*Foundation::URL::fromString(service->baseURL() + path)));
    }

    /// The text of whatever `operation` throws.
    template <class Operation> static std::string failureText(Operation operation) {
        try {
            operation();
        } catch (const std::exception& error) {
            return error.what();
        }
        return "no failure";
    }
};

} // namespace

TEST_F(MusicDataRequestTests, ASuccessfulAnswerGivesItsBody) {
    const auto response = request("/v1/me/library/songs?limit=3").response();
    EXPECT_EQ(response.statusCode, 200);
    EXPECT_NE(response.data.find(R"("meta":{"total":120})"), std::string::npos);
}

TEST_F(MusicDataRequestTests, AnErrorAnswerCarriesTheServiceCodeStatusAndTitle) {
    service->injectFault(1, DemoFault::errorAnswer(404, 40403));
    try {
        request("/v1/me/library/songs").response();
        ADD_FAILURE() << "no error";
    } catch (const MusicDataRequest::Error& error) {
        EXPECT_EQ(error.code(), 40403);
        EXPECT_EQ(error.status(), 404);
        EXPECT_EQ(error.title(), "Resource Not Found");
        EXPECT_STREQ(error.what(),
                     "The music service answered with status 404, error code 40403: Resource Not Found");
    }
    try {
        request("/v1/no/such/path").response();
        ADD_FAILURE() << "no error";
    } catch (const MusicDataRequest::Error& error) {
        EXPECT_EQ(error.code(), 0);
        EXPECT_EQ(error.status(), 404);
    }
}

TEST_F(MusicDataRequestTests, TransportFailuresAreURLErrors) {
    service->injectFault(1, DemoFault::truncatedBody());
    try {
        request("/v1/me/library/songs").response();
        ADD_FAILURE() << "no error";
    } catch (const URLError& error) {
        EXPECT_EQ(error.code(), URLError::Code::networkConnectionLost);
    }
    DemoService::DemoService stopped({1, 1});
    stopped.start();
    const std::string unreachable = stopped.baseURL();
    stopped.stop();
    try {
        MusicDataRequest(URLRequest(*Foundation::URL::fromString(unreachable + "/v1/me/storefront")))
            .response();
        ADD_FAILURE() << "no error";
    } catch (const URLError& error) {
        EXPECT_EQ(error.code(), URLError::Code::cannotConnectToHost) << "the host refused the connection";
    }
}

TEST_F(MusicDataRequestTests, AStopRequestedBeforehandSendsNothing) {
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(request("/v1/me/storefront").response(stop.get_token()), Foundation::CancellationError);
    EXPECT_TRUE(service->requestedTargets().empty());

    ServiceConfiguration::setCurrent(std::nullopt);
    EXPECT_THROW(request("/v1/me/storefront").response(), ServiceConfigurationError);
}

TEST_F(MusicDataRequestTests, ThreadsSendRequestsSideBySide) {
    std::vector<std::jthread> threads;
    std::atomic<int> answered = 0;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 5; ++i) {
                answered += request("/v1/me/library/albums?limit=100").response().statusCode == 200;
            }
        });
    }
    threads.clear();
    EXPECT_EQ(answered, 20);
}

TEST_F(MusicDataRequestTests, AuthorizationFollowsTheServicesAnswer) {
    EXPECT_EQ(MusicAuthorization::request(), MusicAuthorization::Status::authorized);
    // A service that fails, stays silent or cannot be reached has not refused the user.
    service->injectFault(2, DemoFault::errorAnswer(500, 50000));
    service->injectFault(3, DemoFault::delayed(std::chrono::seconds(2)));
    auto configuration = service->configuration();
    configuration.timeoutLimit = 0.2;
    ServiceConfiguration::setCurrent(configuration);
    EXPECT_EQ(MusicAuthorization::request(), MusicAuthorization::Status::authorized);
    EXPECT_EQ(MusicAuthorization::request(), MusicAuthorization::Status::authorized);
    configuration.apiBase = "http://127.0.0.1:1";
    ServiceConfiguration::setCurrent(configuration);
    EXPECT_EQ(MusicAuthorization::request(), MusicAuthorization::Status::authorized);

    configuration = service->configuration();
    configuration.developerToken = "wrong";
    ServiceConfiguration::setCurrent(configuration);
    EXPECT_EQ(MusicAuthorization::request(), MusicAuthorization::Status::denied);

    ServiceConfiguration::setCurrent(std::nullopt);
    EXPECT_EQ(MusicAuthorization::request(), MusicAuthorization::Status::notDetermined);
}

TEST_F(MusicDataRequestTests, NoTokenAppearsInAnyErrorTextOrLogEntry) {
    auto configuration = service->configuration();
    configuration.timeoutLimit = 0.2;
    ServiceConfiguration::setCurrent(configuration);
    service->injectFault(2, DemoFault::errorAnswer(500, 50000));
    service->injectFault(3, DemoFault::delayed(std::chrono::seconds(3)));
    service->injectFault(4, DemoFault::truncatedBody());
    std::vector<std::string> texts;
    for (int i = 0; i < 4; ++i) {
        texts.push_back(
            failureText([&] { request(i == 0 ? "/v1/missing" : "/v1/me/library/songs").response(); }));
    }
    configuration.userToken = "another-user-token";
    ServiceConfiguration::setCurrent(configuration);
    texts.push_back(failureText([&] { request("/v1/me/library/songs").response(); }));
    for (const auto& entry : UnifiedLog::LogStore::shared().entries()) {
        texts.push_back(entry.message);
    }
    for (const auto& text : texts) {
        for (const std::string_view token :
             {DemoService::DemoService::developerToken, DemoService::DemoService::userToken,
              std::string_view("another-user-token")}) {
            EXPECT_EQ(text.find(token), std::string::npos) << text;
        }
    }
}
