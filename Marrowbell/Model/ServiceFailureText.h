#pragma once

#include <QString>
#include <exception>

namespace Marrowbell {

/// What the user reads about a failed sync or service request: one sentence naming what went wrong (the
/// service could not be reached, did not answer in time, answered with an error or with data that could
/// not be read; the store could not be written), the service called by `serviceDisplayName`.
QString serviceFailureText(const std::exception_ptr& failure, const QString& serviceDisplayName);

} // namespace Marrowbell
