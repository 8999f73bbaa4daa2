#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

namespace MarrowbellCore {

/// `transform(input[i], i)` for every element, in order, spread over a few threads when the input is
/// large enough to be worth it. `transform` must be safe to run on several threads at once.
template <class Input, class Transform>
auto parallelTransform(const std::vector<Input>& input, Transform transform) {
    using Output = decltype(transform(input.front(), std::size_t{0}));
    std::vector<Output> output(input.size());
    constexpr std::size_t elementsPerThread = 2000;
    const std::size_t threadCount =
        std::clamp<std::size_t>(input.size() / elementsPerThread, 1, std::max(1u, std::thread::hardware_concurrency()));
    const auto run = [&](std::size_t begin, std::size_t end) {
        for (std::size_t index = begin; index < end; ++index) {
            output[index] = transform(input[index], index);
        }
    };
    if (threadCount == 1) {
        run(0, input.size());
        return output;
    }
    std::vector<std::jthread> threads;
    const std::size_t chunk = (input.size() + threadCount - 1) / threadCount;
    for (std::size_t begin = 0; begin < input.size(); begin += chunk) {
        threads.emplace_back(run, begin, std::min(input.size(), begin + chunk));
    }
    return output;
}

} // namespace MarrowbellCore
