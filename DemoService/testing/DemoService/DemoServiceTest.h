#pragma once

#include "DemoService/DemoService.h"

#include <MusicKit/ServiceConfiguration.h>
#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>

namespace DemoService::Testing {

/// A test suite served by one in-process demo service with the library of `SongCount` songs and `Seed`.
/// Every test starts with an empty request log and no planned faults, and with the service as the
/// current configuration.
template <std::size_t SongCount, std::uint64_t Seed> class DemoServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        service = std::make_unique<DemoService>(DemoService::Options{SongCount, Seed});
        service->start();
    }
    static void TearDownTestSuite() { service.reset(); }
    void SetUp() override {
        service->reset();
        MusicKit::ServiceConfiguration::setCurrent(service->configuration());
    }
    void TearDown() override { MusicKit::ServiceConfiguration::setCurrent(std::nullopt); }

    static const DemoLibrary& library() { return service->library(); }

    static inline std::unique_ptr<DemoService> service;
};

} // namespace DemoService::Testing
