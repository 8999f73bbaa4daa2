#pragma once

#include <string_view>

namespace Marrowbell {

/// The feedback mail service's server token, shared by the "Send Feedback" window and the error reports.
inline constexpr std::string_view feedbackMailToken = "3d8f2a61-9c47-4e0b-a5d2-60f1b7e49c83";
/// The maker's support address: sender and recipient of feedback mails and error reports.
inline constexpr std::string_view supportMailAddress = "support@brondletamsel.example";

} // namespace Marrowbell
