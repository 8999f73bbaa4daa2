#pragma once

#include <chrono>
#include <exception>
#include <string_view>

namespace Marrowbell::ErrorReporting {

/// Turns a failed operation into one error usage signal "error_<name>" whose parameters are the error's
/// "domain" and "code" and whose message is its description. `name` is the operation's snake_case name
/// ("load_songs", "open_database"). Cancellations (Foundation::CancellationError) and requests that failed
/// for want of any network (MusicKit::URLError's notConnectedToInternet: no route, network unreachable,
/// name not resolved) are not reported; a host that refuses the connection is.
///
/// A data-decoding error (one whose domain or description names "DecodingError") also mails a short report
/// through the kit's FeedbackSender: "Error <name>: <description>", an empty line, then the error's domain,
/// code and description; nothing else of the user's data. Every such error mails; the mail goes out on a
/// worker and a failed mail is dropped.
///
/// Never throws; any thread; returns at once. The caller logs the error itself.
void report(const std::exception_ptr& error, std::string_view name) noexcept;
void report(const std::exception& error, std::string_view name) noexcept;

/// Waits up to `timeout` for the report mails under way; true when none is left. For quitting and tests.
bool waitForPendingMails(std::chrono::milliseconds timeout);

} // namespace Marrowbell::ErrorReporting
