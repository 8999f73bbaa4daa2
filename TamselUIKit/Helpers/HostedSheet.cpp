#include "TamselUIKit/HostedSheet.h"

#include "TamselUIKit/HostedWindowDismiss.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QVBoxLayout>

namespace TamselUIKit {
namespace {

/// Turns away the application's requests to quit while its sheet shows.
class TerminationGuard final : public QObject {
public:
    explicit TerminationGuard(QDialog& sheet)
        : QObject(&sheet)
        , sheet_(sheet) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::Quit && sheet_.isVisible()) {
            event->ignore();
            return true;
        }
        return false;
    }

private:
    QDialog& sheet_;
};

} // namespace

QDialog* presentHostedSheet(QWidget& presenter, QWidget* content,
                            bool preventsApplicationTerminationWhenModal) {
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
    if (preventsApplicationTerminationWhenModal) {
        new TerminationGuard(*sheet);
    }
    return sheet;
}

} // namespace TamselUIKit
