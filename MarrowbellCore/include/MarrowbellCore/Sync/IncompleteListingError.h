#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace MarrowbellCore {

/// A library listing that the service broke off: a page announced more items but held none, or the last
/// page came before the total ("meta"."total") that the pages announced. A sync must not take such a
/// listing for the whole library or track list, or it would remove the items it never received.
class IncompleteListingError : public std::runtime_error {
public:
    explicit IncompleteListingError(std::int64_t received)
        : std::runtime_error("The music service announced more items after " + std::to_string(received) +
                             " but sent none.")
        , received_(received) {}
    IncompleteListingError(std::int64_t received, std::int64_t announced)
        : std::runtime_error("The music service announced " + std::to_string(announced) + " items but sent " +
                             std::to_string(received) + ".")
        , received_(received) {}

    std::int64_t received() const { return received_; }

private:
    std::int64_t received_;
};

} // namespace MarrowbellCore
