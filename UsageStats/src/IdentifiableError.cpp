#include "UsageStats/IdentifiableError.h"

namespace UsageStats {
namespace {

std::string describe(const std::exception_ptr& error) {
    if (!error) {
        return "Unknown error";
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
        return "Unknown error";
    }
}

} // namespace

AnyIdentifiableError::AnyIdentifiableError(std::string id, std::exception_ptr error)
    : id_(std::move(id))
    , error_(std::move(error))
    , description_(describe(error_)) {}

AnyIdentifiableError withID(std::exception_ptr error, std::string id) {
    return AnyIdentifiableError(std::move(id), std::move(error));
}

} // namespace UsageStats
