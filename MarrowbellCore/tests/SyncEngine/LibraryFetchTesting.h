#pragma once

#include <DemoService/DemoService.h>
#include <Foundation/Progress.h>
#include <MusicKit/ServiceConfiguration.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace MarrowbellCore::Testing {

/// Runs the fetches against one in-process demo service with 250 songs, whose request log and
/// planned faults start empty in every test.
class LibraryFetchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        service = std::make_unique<DemoService::DemoService>(DemoService::DemoService::Options{250, 7});
        service->start();
    }
    static void TearDownTestSuite() { service.reset(); }
    void SetUp() override {
        service->reset();
        MusicKit::ServiceConfiguration::setCurrent(service->configuration());
    }
    void TearDown() override { MusicKit::ServiceConfiguration::setCurrent(std::nullopt); }

    static const DemoService::DemoLibrary& library() { return service->library(); }

    static inline std::unique_ptr<DemoService::DemoService> service;
};

/// A progress of 100 units that remembers every completed unit count it is given.
struct RecordedProgress {
    RecordedProgress() {
        progress->addObserver(
            [this](const Foundation::Progress& changed) { values.push_back(changed.completedUnitCount()); });
    }
    RecordedProgress(const RecordedProgress&) = delete;
    RecordedProgress& operator=(const RecordedProgress&) = delete;

    std::shared_ptr<Foundation::Progress> progress = Foundation::Progress::make(100);
    std::vector<std::int64_t> values;
};

} // namespace MarrowbellCore::Testing
