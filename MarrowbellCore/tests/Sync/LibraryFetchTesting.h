#pragma once

#include <DemoService/DemoServiceTest.h>
#include <Foundation/Progress.h>
#include <MusicKit/ServiceConfiguration.h>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace MarrowbellCore::Testing {

/// Runs the fetches against one in-process demo service with 250 songs.
using LibraryFetchTest = DemoService::Testing::DemoServiceTest<250, 7>;

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
