#pragma once

#include "StoreTestSupport.h"

#include <DemoService/DemoService.h>
#include <MarrowbellCore/Store/LocalDatabase.h>
#include <MarrowbellCore/Sync/SyncEngine.h>
#include <MarrowbellCore/Sync/SyncNotifications.h>
#include <MusicKit/ServiceConfiguration.h>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <vector>

namespace MarrowbellCore::Testing {

/// Collects the sync notifications posted while it lives.
class NotificationRecorder {
public:
    NotificationRecorder();
    ~NotificationRecorder();
    NotificationRecorder(const NotificationRecorder&) = delete;
    NotificationRecorder& operator=(const NotificationRecorder&) = delete;

    std::vector<std::string> names() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> names_;
    std::vector<SyncNotificationCenter::ObserverID> observers_;
};

/// A store in a temporary folder synced against an in-process demo service of `songCount` songs.
class SyncFixture : public ::testing::Test {
protected:
    explicit SyncFixture(std::size_t songCount = 120, std::uint64_t seed = 3);
    void SetUp() override;
    void TearDown() override;

    /// Serves a library generated from another song count, at the same time as the first.
    void switchService(std::size_t songCount);
    SyncEngine engine() { return SyncEngine(store); }
    std::vector<std::string> query(const std::string& sql) const {
        return queryText(directory.file("local.db"), sql);
    }
    std::size_t count(const std::string& table) const {
        return std::stoul(query("SELECT count(*) FROM " + table)[0]);
    }
    const DemoService::DemoLibrary& library() const { return service->library(); }

    TemporaryDirectory directory;
    std::shared_ptr<LocalDatabase> store;
    std::unique_ptr<DemoService::DemoService> service;
    std::uint64_t seed;
};

} // namespace MarrowbellCore::Testing
