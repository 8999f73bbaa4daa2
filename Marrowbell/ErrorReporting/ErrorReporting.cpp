#include "ErrorReporting/ErrorReporting.h"

#include "ErrorReporting/ErrorReportMailer.h"
#include "ErrorReporting/ReportedError.h"

#include <UsageStats/ErrorPreset.h>
#include <string>

namespace Marrowbell::ErrorReporting {
namespace {

void reportDescribed(const ReportedError& error, std::string_view name) {
    if (error.isCancellation || error.isOffline) {
        return;
    }
    const std::string operation(name);
    UsageStats::errorOccurred("error_" + operation, std::nullopt, error.description,
                              {{"domain", error.domain}, {"code", std::to_string(error.code)}});
    if (error.isDecodingError()) {
        ErrorReportMailer::shared().mail("Error " + operation + ": " + error.description + "\n\n" +
                                         error.debugDescription());
    }
}

} // namespace

void report(const std::exception_ptr& error, std::string_view name) noexcept {
    try {
        reportDescribed(describeError(error), name);
    } catch (...) {
        // Reporting must never become a failure of its own.
    }
}

void report(const std::exception& error, std::string_view name) noexcept {
    try {
        reportDescribed(describeError(error), name);
    } catch (...) {
        // Reporting must never become a failure of its own.
    }
}

bool waitForPendingMails(std::chrono::milliseconds timeout) {
    return ErrorReportMailer::shared().waitUntilIdle(timeout);
}

} // namespace Marrowbell::ErrorReporting
