#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace Marrowbell {

/// The public page of a song on the music service whose web API is at `apiBase`: the API's scheme, host
/// without a leading "api." label, and port, then "/us/song/" and the song's identifier, percent-encoded so
/// that it stays one path segment. Nothing when `apiBase` is not an absolute URL or the identifier is empty.
std::optional<QUrl> songShareLink(const QString& apiBase, const QString& songID);

} // namespace Marrowbell
