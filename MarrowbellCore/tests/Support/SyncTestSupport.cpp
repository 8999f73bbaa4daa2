#include "SyncTestSupport.h"

namespace MarrowbellCore::Testing {

NotificationRecorder::NotificationRecorder() {
    for (const char* name : {SyncNotification::playlistSyncCompleted, SyncNotification::albumSyncCompleted,
                             SyncNotification::artistSyncCompleted, SyncNotification::songSyncCompleted}) {
        observers_.push_back(
            SyncNotificationCenter::defaultCenter().addObserver(name, [this](const std::string& posted) {
                std::lock_guard lock(mutex_);
                names_.push_back(posted);
            }));
    }
}

NotificationRecorder::~NotificationRecorder() {
    for (const auto id : observers_) {
        SyncNotificationCenter::defaultCenter().removeObserver(id);
    }
}

std::vector<std::string> NotificationRecorder::names() const {
    std::lock_guard lock(mutex_);
    return names_;
}

SyncFixture::SyncFixture(std::size_t songCount, std::uint64_t librarySeed)
    : service(std::make_unique<DemoService::DemoService>(
          DemoService::DemoService::Options{songCount, librarySeed}))
    , seed(librarySeed) {}

void SyncFixture::SetUp() {
    resetLog();
    store = std::make_shared<LocalDatabase>(directory.file("local.db"));
    store->open();
    service->start();
    MusicKit::ServiceConfiguration::setCurrent(service->configuration());
}

void SyncFixture::TearDown() {
    MusicKit::ServiceConfiguration::setCurrent(std::nullopt);
}

void SyncFixture::switchService(std::size_t songCount) {
    service = std::make_unique<DemoService::DemoService>(DemoService::DemoService::Options{songCount, seed});
    service->start();
    MusicKit::ServiceConfiguration::setCurrent(service->configuration());
}

} // namespace MarrowbellCore::Testing
