#include "OpenedURLs.h"

#include <QDesktopServices>

namespace TamselUIKit::Testing {

OpenedURLs::OpenedURLs(const QString& scheme)
    : scheme_(scheme) {
    QDesktopServices::setUrlHandler(scheme_, this, "open");
}

OpenedURLs::~OpenedURLs() {
    QDesktopServices::unsetUrlHandler(scheme_);
}

void OpenedURLs::open(const QUrl& url) {
    urls.append(url);
}

} // namespace TamselUIKit::Testing
