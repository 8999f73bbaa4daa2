#pragma once

#include <chrono>
#include <thread>

namespace UsageStatsTesting {

/// Whether the condition holds within five seconds, checked every 10 ms.
template <typename Condition> bool eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

} // namespace UsageStatsTesting
