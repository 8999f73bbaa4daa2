#pragma once

#include "App/AppEnvironment.h"
#include "App/CommandLineOptions.h"
#include "Platform/QuitSignalHandler.h"
#include "Platform/UsageStatsSetup.h"
#include "Windows/MainWindow.h"
#include "Windows/WindowManager.h"

#include <QObject>
#include <Updater/Updater.h>
#include <memory>

class QSystemTrayIcon;

namespace Marrowbell {

class AppModels;

/// The running application: starts the updater, the shared environment (store, settings, service), the
/// usage statistics and the windows, in that order, and takes them down again at quit. Quitting (menu,
/// tray, SIGINT, SIGTERM) closes the windows, lets UsageStats save its cache and closes the store; before
/// the event loop runs, SIGINT and SIGTERM end the process at once.
/// GUI thread, after the QApplication.
class MarrowbellApplication final : public QObject {
    Q_OBJECT

public:
    MarrowbellApplication();
    ~MarrowbellApplication() override;

    /// Starts everything and shows the main window. When the application cannot run (its folder, store or
    /// service configuration cannot be made), shows why in a message box and returns false; the caller then
    /// exits with a non-zero status.
    bool start(const CommandLineOptions& options);
    /// Runs the event loop until the application quits; returns its exit code.
    int exec();
    /// Brings the main window (or, while start-up shows a message, that message) to the front.
    void presentForAnotherLaunch();

    AppEnvironment& environment() { return *environment_; }
    AppModels& models() { return *models_; }
    MainWindow& mainWindow() { return *mainWindow_; }
    WindowManager& windows() { return windows_; }

private:
    void showStartupFailure(const QString& message);
    void showStoreUnavailable(const QString& message);
    void installMenus();
    void showAbout();
    void closeWindows();

    QuitSignalHandler quitSignals_;
    std::unique_ptr<UsageStatsSetup> usageStats_;
    Updater::Updater updater_;
    std::unique_ptr<AppEnvironment> environment_;
    std::unique_ptr<AppModels> models_;
    std::unique_ptr<MainWindow> mainWindow_;
    WindowManager windows_;
    QSystemTrayIcon* tray_ = nullptr;
};

} // namespace Marrowbell
