#pragma once

#include <exception>
#include <string>

namespace UsageStats {

/// An error that names its kind with a stable identifier. Its localized description is `what()`.
class IdentifiableError : public std::exception {
public:
    virtual std::string id() const = 0;
};

/// Any error, given an identifier. Its description is the wrapped error's.
class AnyIdentifiableError final : public IdentifiableError {
public:
    AnyIdentifiableError(std::string id, std::exception_ptr error);

    std::string id() const override { return id_; }
    const char* what() const noexcept override { return description_.c_str(); }
    const std::exception_ptr& error() const { return error_; }

private:
    std::string id_;
    std::exception_ptr error_;
    std::string description_;
};

/// Wraps the error with the identifier.
AnyIdentifiableError withID(std::exception_ptr error, std::string id);

} // namespace UsageStats
