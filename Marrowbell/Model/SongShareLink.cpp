#include "Model/SongShareLink.h"

namespace Marrowbell {

std::optional<QUrl> songShareLink(const QString& apiBase, const QString& songID) {
    const QUrl api(apiBase, QUrl::StrictMode);
    if (songID.isEmpty() || !api.isValid() || api.scheme().isEmpty() || api.host().isEmpty()) {
        return std::nullopt;
    }
    QString host = api.host();
    if (host.startsWith(u"api.") && host.size() > 4) {
        host.remove(0, 4);
    }
    QUrl link;
    link.setScheme(api.scheme());
    link.setHost(host);
    link.setPort(api.port());
    link.setPath(QStringLiteral("/us/song/") + QString::fromLatin1(QUrl::toPercentEncoding(songID)),
                 QUrl::TolerantMode);
    return link.isValid() ? std::optional(link) : std::nullopt;
}

} // namespace Marrowbell
