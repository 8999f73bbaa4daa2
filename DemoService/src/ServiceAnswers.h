#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace DemoService {

/// The service's error body: {"errors":[{"id":…,"title":…,"detail":…,"status":"404","code":"40403"}]}.
/// Status and code are JSON strings of digits, as the real service sends them.
std::string errorBody(int status, std::int64_t code, std::string_view detail);

/// The request target (path and query) with its "offset" parameter set to `offset`, other
/// parameters kept in their order; added at the end when the target has none.
std::string targetWithOffset(std::string_view target, std::size_t offset);

} // namespace DemoService
