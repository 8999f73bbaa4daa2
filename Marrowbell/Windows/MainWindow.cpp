#include "Windows/MainWindow.h"

#include "App/AppIdentity.h"
#include "Platform/Defaults.h"
#include "Platform/DefaultsKeys.h"

#include <QLabel>
#include <QShowEvent>

namespace Marrowbell {

MainWindow::MainWindow(const QString& serviceDisplayName, Defaults& defaults, QWidget* parent)
    : QMainWindow(parent)
    , defaults_(defaults) {
    setObjectName(QStringLiteral("main"));
    const QString product = QString::fromUtf8(appName.data(), static_cast<qsizetype>(appName.size()));
    setWindowTitle(tr("%1 — %2").arg(product, serviceDisplayName));

    auto* placeholder = new QLabel(tr("Your library on %1").arg(serviceDisplayName), this);
    placeholder->setAlignment(Qt::AlignCenter);
    placeholder->setMinimumSize(minimumContentSize);
    setCentralWidget(placeholder);
    if (!restoreGeometry(defaults_.storedValue(DefaultsKeys::mainWindowFrame).toByteArray())) {
        resize(defaultSize);
    }
}

void MainWindow::present() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

// Kept as it changes, as the platform keeps a window's frame, so that quitting has nothing to write.
void MainWindow::saveFrame() {
    if (isVisible()) {
        defaults_.setValue(DefaultsKeys::mainWindowFrame, saveGeometry());
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    saveFrame();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    saveFrame();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!wasShown_) {
        wasShown_ = true;
        Q_EMIT firstShown();
    }
}

} // namespace Marrowbell
