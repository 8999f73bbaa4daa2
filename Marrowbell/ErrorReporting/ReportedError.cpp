#include "ErrorReporting/ReportedError.h"

#include <Foundation/CancellationError.h>
#include <Foundation/DecodingError.h>
#include <MusicKit/MusicDataRequest.h>
#include <MusicKit/URLError.h>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <string_view>
#include <typeinfo>

namespace Marrowbell::ErrorReporting {
namespace {

/// The order of the kinds' cases, as other clients of the same reports number them.
std::int64_t decodingErrorCode(Foundation::DecodingError::Kind kind) {
    using Kind = Foundation::DecodingError::Kind;
    switch (kind) {
    case Kind::typeMismatch:
        return 0;
    case Kind::valueNotFound:
        return 1;
    case Kind::keyNotFound:
        return 2;
    case Kind::dataCorrupted:
        return 3;
    }
    return 3;
}

/// Negative codes, so that transport failures read alike whichever client reports them.
std::int64_t urlErrorCode(MusicKit::URLError::Code code) {
    using Code = MusicKit::URLError::Code;
    switch (code) {
    case Code::timedOut:
        return -1001;
    case Code::notConnectedToInternet:
        return -1009;
    case Code::cannotConnectToHost:
        return -1004;
    case Code::networkConnectionLost:
        return -1005;
    case Code::secureConnectionFailed:
        return -1200;
    case Code::unknown:
        return -1;
    }
    return -1;
}

/// The error's type with dots for "::" ("MusicKit.URLError"), so that each error type is a domain of its own.
std::string typeDomain(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    const std::string_view name = status == 0 && demangled ? demangled.get() : mangled;
    std::string domain;
    domain.reserve(name.size());
    for (std::size_t position = 0; position < name.size(); ++position) {
        if (name.substr(position, 2) == "::") {
            domain += '.';
            ++position;
        } else {
            domain += name[position];
        }
    }
    return domain;
}

} // namespace

std::string ReportedError::debugDescription() const {
    return "Error Domain=" + domain + " Code=" + std::to_string(code) + " \"" + description + "\"";
}

bool ReportedError::isDecodingError() const {
    return debugDescription().find("DecodingError") != std::string::npos;
}

ReportedError describeError(const std::exception& error) {
    ReportedError reported{.domain = typeDomain(error), .description = error.what()};
    if (dynamic_cast<const Foundation::CancellationError*>(&error)) {
        reported.isCancellation = true;
    } else if (const auto* decoding = dynamic_cast<const Foundation::DecodingError*>(&error)) {
        reported.code = decodingErrorCode(decoding->kind());
    } else if (const auto* url = dynamic_cast<const MusicKit::URLError*>(&error)) {
        reported.code = urlErrorCode(url->code());
        reported.isOffline = url->code() == MusicKit::URLError::Code::notConnectedToInternet;
    } else if (const auto* answer = dynamic_cast<const MusicKit::MusicDataRequest::Error*>(&error)) {
        // An error answer without a code of its own is told apart by its HTTP status.
        reported.code = answer->code() != 0 ? answer->code() : answer->status();
    }
    return reported;
}

ReportedError describeError(const std::exception_ptr& error) {
    const ReportedError unknown{.domain = "Marrowbell.UnknownError",
                                .description = "An unknown error occurred."};
    if (!error) {
        return unknown;
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& thrown) {
        return describeError(thrown);
    } catch (...) {
        return unknown;
    }
}

} // namespace Marrowbell::ErrorReporting
