#pragma once

#include <QUrl>

namespace TamselUIKit {

/// Shows the file at `url` selected in the desktop's file manager (the org.freedesktop.FileManager1
/// D-Bus service); where no file manager answers, opens the file's folder instead. Returns at once; GUI
/// thread.
void showInFileManager(const QUrl& url);

} // namespace TamselUIKit
