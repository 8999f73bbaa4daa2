#include "App/LibraryUnavailableBox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace Marrowbell {

QMessageBox* showLibraryUnavailable(QWidget* window, const QString& message) {
    auto* box = new QMessageBox(
        QMessageBox::Critical, QCoreApplication::translate("Marrowbell", "Library Unavailable"),
        QCoreApplication::translate("Marrowbell", "The library database cannot be used.\n\n%1").arg(message),
        QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The window stays usable behind it: a store that failed at start-up is found while the window comes up.
    box->open();
    return box;
}

} // namespace Marrowbell
