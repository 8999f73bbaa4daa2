#include "App/MarrowbellApplication.h"
#include "Platform/Defaults.h"
#include "Service/ActiveService.h"

#include <DemoService/DemoService.h>
#include <MusicKit/ServiceConfiguration.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <UsageStats/UsageStats.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>

using namespace Marrowbell;

namespace {

constexpr int uploadTimeoutMs = 30000;

bool received(const DemoService::DemoService& demo, const std::string& type) {
    const auto signals = demo.usageSignalInbox().signals();
    return std::any_of(signals.begin(), signals.end(),
                       [&](const auto& signal) { return signal.type == type; });
}

} // namespace

TEST(UsageStatsUploadTests, OnTheDemoServiceTheApplicationsSignalsAreUploadedToIt) {
    MarrowbellApplication application;
    ASSERT_TRUE(application.start(CommandLineOptions{.demoSongCount = 50}));
    const DemoService::DemoService* demo = application.environment().service().demo();
    ASSERT_NE(demo, nullptr);

    UsageStats::signal("UploadCheck.sent");
    UsageStats::requestImmediateSync();
    EXPECT_TRUE(QTest::qWaitFor([&] { return received(*demo, "UploadCheck.sent"); }, uploadTimeoutMs));
    const auto signals = demo->usageSignalInbox().signals();
    ASSERT_FALSE(signals.empty());
    EXPECT_EQ(signals.front().appID, UsageStatsSetup::appID);
}

TEST(UsageStatsUploadTests, WithTheUsersOwnServiceSignalsKeepTheClientsOwnIngestionAddress) {
    const QString path = QString::fromStdString(MusicKit::ServiceConfiguration::userFilePath().string());
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"apiBase":"http://127.0.0.1:9","developerToken":"d","userToken":"u","storefront":"gb"})");
    file.close();
    {
        QTemporaryDir folder;
        Defaults defaults(folder.filePath(QStringLiteral("Marrowbell.conf")));
        const ActiveService service(defaults);
        EXPECT_FALSE(service.isDemo());
        EXPECT_EQ(service.usageStatsBaseURL(), std::nullopt);
    }
    // Every other test here runs on the demo service.
    ASSERT_TRUE(QFile::remove(path));
}
