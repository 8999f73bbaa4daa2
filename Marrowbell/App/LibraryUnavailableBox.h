#pragma once

#include <QString>

class QMessageBox;
class QWidget;

namespace Marrowbell {

/// Shows "Library Unavailable" with `message` (why, naming the file or folder) over `window` and returns
/// without waiting: the box deletes itself when dismissed. GUI thread.
QMessageBox* showLibraryUnavailable(QWidget* window, const QString& message);

} // namespace Marrowbell
