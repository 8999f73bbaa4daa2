#pragma once

#include "ParallelWork.h"

#include <cstddef>
#include <vector>

namespace MarrowbellCore {

/// `transform(input[i], i)` for every element, in order, spread over a few threads when the input is
/// large enough to be worth it. `transform` must be safe to run on several threads at once.
template <class Input, class Transform>
auto parallelTransform(const std::vector<Input>& input, Transform transform) {
    using Output = decltype(transform(input.front(), std::size_t{0}));
    std::vector<Output> output(input.size());
    constexpr std::size_t elementsPerThread = 2000;
    ParallelWork::forEachRange(input.size(), elementsPerThread, [&](ParallelWork::Range range) {
        for (std::size_t index = range.begin; index < range.end; ++index) {
            output[index] = transform(input[index], index);
        }
    });
    return output;
}

} // namespace MarrowbellCore
