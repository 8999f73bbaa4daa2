#pragma once

#include <chrono>
#include <cstdint>

namespace DemoService {

/// A misbehaviour the demo service shows on one request, for tests of its clients.
struct DemoFault {
    enum class Kind {
        /// Answer with `status` and an error body carrying `code`.
        errorAnswer,
        /// Wait `delay` before answering normally.
        delay,
        /// Announce the full body length, send half of it and close the connection.
        truncatedBody,
        /// Send the first half of the body as if it were all of it: JSON that does not parse.
        malformedJSON,
        /// Report `total` as the page's "meta"."total".
        changedTotal,
        /// Send a page without resources that still has a "next".
        emptyPageWithNext,
        /// Leave out the page's "next", as if it were the last page; "meta"."total" stays.
        pageWithoutNext,
    };

    Kind kind = Kind::errorAnswer;
    int status = 0;
    std::int64_t code = 0;
    std::chrono::milliseconds delay{0};
    std::int64_t total = 0;

    static DemoFault errorAnswer(int status, std::int64_t code) {
        return {Kind::errorAnswer, status, code, {}, 0};
    }
    static DemoFault delayed(std::chrono::milliseconds delay) { return {Kind::delay, 0, 0, delay, 0}; }
    static DemoFault truncatedBody() { return {Kind::truncatedBody, 0, 0, {}, 0}; }
    static DemoFault malformedJSON() { return {Kind::malformedJSON, 0, 0, {}, 0}; }
    static DemoFault changedTotal(std::int64_t total) { return {Kind::changedTotal, 0, 0, {}, total}; }
    static DemoFault emptyPageWithNext() { return {Kind::emptyPageWithNext, 0, 0, {}, 0}; }
    static DemoFault pageWithoutNext() { return {Kind::pageWithoutNext, 0, 0, {}, 0}; }
};

} // namespace DemoService
