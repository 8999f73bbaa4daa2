#include "Windows/MainWindow.h"

#include "App/AppIdentity.h"

#include <QLabel>
#include <QShowEvent>

namespace Marrowbell {

MainWindow::MainWindow(const QString& serviceDisplayName, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("main"));
    const QString product = QString::fromUtf8(appName.data(), static_cast<qsizetype>(appName.size()));
    setWindowTitle(tr("%1 — %2").arg(product, serviceDisplayName));

    auto* placeholder = new QLabel(tr("Your library on %1").arg(serviceDisplayName), this);
    placeholder->setAlignment(Qt::AlignCenter);
    placeholder->setMinimumSize(minimumContentSize);
    setCentralWidget(placeholder);
    resize(defaultSize);
}

void MainWindow::present() {
    show();
    raise();
    activateWindow();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!wasShown_) {
        wasShown_ = true;
        Q_EMIT firstShown();
    }
}

} // namespace Marrowbell
