#include "Updater/Updater.h"

#include <QMessageBox>

namespace Updater {

Updater::Updater(QString productName, QObject* parent)
    : QObject(parent)
    , productName_(std::move(productName)) {}

QString Updater::checkResultText() const {
    return tr("Updates to %1 come through your system's package manager.").arg(productName_);
}

void Updater::checkForUpdates(QWidget* parent) {
    QMessageBox::information(parent, tr("Check for Updates"), checkResultText());
}

} // namespace Updater
