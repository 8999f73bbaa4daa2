#include "TamselUIKit/HostedSheet.h"

#include "TamselUIKit/HostedWindowDismiss.h"

#include <QDialog>
#include <QPointer>
#include <QVBoxLayout>

namespace TamselUIKit {

QDialog* presentHostedSheet(QWidget& presenter, QWidget* content) {
    auto* sheet = new QDialog(presenter.window(), Qt::Sheet);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    auto* dismiss = new HostedWindowDismiss({}, sheet);
    dismiss->setAction(
        [presenterGuard = QPointer<QWidget>(&presenter), sheetGuard = QPointer<QDialog>(sheet)] {
            if (presenterGuard && sheetGuard) {
                sheetGuard->close();
            }
        });
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    sheet->open();
    return sheet;
}

} // namespace TamselUIKit
