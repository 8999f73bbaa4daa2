#include "RecordedSignals.h"

#include <UsageStats/EventLoopThread.h>
#include <UsageStats/SignalCache.h>
#include <UsageStats/SignalManager.h>
#include <UsageStats/UsageStats.h>
#include <UsageStats/UsageStatsConfiguration.h>
#include <UsageStats/UsageStatsManager.h>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <thread>

namespace Marrowbell::Testing {
namespace {

using namespace std::chrono_literals;

constexpr const char* markType = "settings_tests_mark";

class IdleTimer final : public UsageStats::RepeatingTimer {
public:
    void cancel() override {}
};

/// The stand-alone main thread without its repeating timers: no batch is ever taken for upload.
class MainThreadWithoutTimers final : public UsageStats::MainThreadExecutor {
public:
    void post(Task task) override { loop_.post(std::move(task)); }
    void postAfter(std::chrono::milliseconds delay, Task task) override {
        loop_.postAfter(delay, std::move(task));
    }
    std::unique_ptr<UsageStats::RepeatingTimer> scheduleRepeating(std::chrono::milliseconds, Task) override {
        return std::make_unique<IdleTimer>();
    }

private:
    UsageStats::EventLoopThread loop_;
};

std::vector<UsageStats::SignalPostBody> cachedSignals() {
    return UsageStats::UsageStatsManager::shared()->signalManager()->cache()->waitingSignals();
}

/// The client's own signals come at times of its choosing; error signals are the application's reports.
bool isApplications(const UsageStats::SignalPostBody& signal) {
    return !signal.type.starts_with("UsageStats.") || signal.type.starts_with("UsageStats.Error.");
}

/// The parameters the sender gave: what the mark, sent with only "mark", carries besides is the client's.
UsageStats::Parameters withoutDefaults(UsageStats::Parameters payload, const UsageStats::Parameters& mark) {
    for (const auto& [name, value] : mark) {
        if (name != "mark") {
            payload.erase(name);
        }
    }
    return payload;
}

/// Makes the program's one recorder when the tests start, after the shared test main has pointed the XDG
/// folders into a temporary home and made the application, and ends it before the application goes.
class RecordingEnvironment final : public testing::Environment {
public:
    void SetUp() override {
        recorder_ = std::make_unique<RecordedSignals>();
        recordedSignals = recorder_.get();
    }
    void TearDown() override {
        recordedSignals = nullptr;
        recorder_.reset();
    }

private:
    std::unique_ptr<RecordedSignals> recorder_;
};

[[maybe_unused]] testing::Environment* const recording =
    testing::AddGlobalTestEnvironment(new RecordingEnvironment);

} // namespace

RecordedSignals* recordedSignals = nullptr;

RecordedSignals::RecordedSignals() {
    auto configuration = std::make_shared<UsageStats::UsageStatsConfiguration>("SETTINGS-TESTS", std::nullopt,
                                                                               "http://127.0.0.1:9");
    UsageStats::PlatformServices services = UsageStats::PlatformServices::standard();
    services.mainExecutor = std::make_shared<MainThreadWithoutTimers>();
    configuration->setPlatformServices(services);
    UsageStats::initialize(configuration);
}

RecordedSignals::~RecordedSignals() {
    UsageStats::terminate();
}

std::vector<RecordedSignal> RecordedSignals::takeSent() {
    // Signals are recorded in the order they are sent, so once this mark is in, so is everything before it.
    const std::string mark = std::to_string(++marks_);
    UsageStats::signal(markType, {{"mark", mark}});
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto cached = cachedSignals();
        const auto found =
            std::find_if(cached.begin() + std::ptrdiff_t(std::min(consumed_, cached.size())), cached.end(),
                         [&](const UsageStats::SignalPostBody& signal) {
                             return signal.type == markType && signal.payload.at("mark") == mark;
                         });
        if (found != cached.end()) {
            std::vector<RecordedSignal> sent;
            for (auto it = cached.begin() + std::ptrdiff_t(consumed_); it != found; ++it) {
                if (isApplications(*it)) {
                    sent.push_back({it->type, withoutDefaults(it->payload, found->payload)});
                }
            }
            consumed_ = std::size_t(found - cached.begin()) + 1;
            return sent;
        }
        std::this_thread::sleep_for(2ms);
    }
    throw std::runtime_error("The usage-statistics client recorded nothing within 10 s");
}

} // namespace Marrowbell::Testing
