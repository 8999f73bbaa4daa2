#pragma once

#include <stdexcept>

namespace Marrowbell {

/// The library's folder or database file could not be made; the application cannot run.
class StoreCreationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A store call found the database not usable: its opening failed or it was found damaged ("The library
/// database is unavailable: …"), or it has been closed.
class StoreUnavailableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace Marrowbell
