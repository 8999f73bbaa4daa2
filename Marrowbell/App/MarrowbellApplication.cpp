#include "App/MarrowbellApplication.h"

#include "App/AppIdentity.h"
#include "App/LibraryUnavailableBox.h"
#include "App/ResetData.h"
#include "Commands/MenuCommands.h"
#include "ErrorReporting/SupportMail.h"
#include "Lists/ListEnvironment.h"
#include "MainWindow/AppModels.h"
#include "MainWindow/MainContentView.h"
#include "MainWindow/PaneFactory.h"
#include "Platform/AppLoggers.h"
#include "Settings/KeyboardShortcutsView.h"
#include "Settings/SettingsView.h"
#include "Store/StoreErrors.h"
#include "Tray/TrayMenu.h"
#include "Windows/AppIcon.h"

#include <DesktopIntegration/UserNotificationCenter.h>
#include <QApplication>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTimer>
#include <TamselUIKit/FeedbackView.h>
#include <cstdio>

namespace Marrowbell {
namespace {

QString productName() {
    return QString::fromUtf8(appName.data(), static_cast<qsizetype>(appName.size()));
}

// Start-up and fatal lines also go to standard error, for whoever started the program from a terminal.
void announce(const QString& line) {
    std::fprintf(stderr, "marrowbell: %s\n", qUtf8Printable(line));
}

} // namespace

MarrowbellApplication::MarrowbellApplication()
    : updater_(productName()) {
    updater_.setAutomaticallyChecksForUpdates(true);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(appIcon());
    connect(&quitSignals_, &QuitSignalHandler::quitRequested, qApp, &QCoreApplication::quit);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MarrowbellApplication::closeWindows);
}

MarrowbellApplication::~MarrowbellApplication() {
    closeWindows();
    if (environment_) {
        environment_->shutDown();
    }
}

bool MarrowbellApplication::start(const CommandLineOptions& options) {
    try {
        environment_ =
            std::make_unique<AppEnvironment>(AppEnvironment::Options{.demoSongCount = options.demoSongCount});
    } catch (const StoreCreationError& error) {
        AppLoggers::app().fault("Failed to create LocalDatabase: %@", {error});
        showStartupFailure(QStringLiteral("Failed to create LocalDatabase: ") +
                           QString::fromUtf8(error.what()));
        return false;
    } catch (const std::exception& error) {
        AppLoggers::app().fault("Failed to start: %@", {error});
        showStartupFailure(QString::fromUtf8(error.what()));
        return false;
    }
    connect(environment_.get(), &AppEnvironment::storeUnavailable, this,
            &MarrowbellApplication::showStoreUnavailable);

    const ActiveService& service = environment_->service();
    // Only now is it known where signals go; the client keeps those sent before and uploads them then.
    usageStats_ = std::make_unique<UsageStatsSetup>(service.usageStatsBaseURL());
    announce(QStringLiteral("%1 %2 on %3 (%4), library %5")
                 .arg(productName(), QString::fromUtf8(appVersion().data()), service.displayName(),
                      QString::fromStdString(service.configuration().apiBase),
                      environment_->store().databasePath()));

    models_ = std::make_unique<AppModels>(*environment_);
    mainWindow_ = std::make_unique<MainWindow>(service.displayName(), environment_->defaults());
    auto* content = new MainContentView(*models_, service.displayName(),
                                        makeLibraryPaneFactory(*models_, ListEnvironment::of(*environment_)));
    content->setMinimumSize(MainWindow::minimumContentSize);
    mainWindow_->setCentralWidget(content);
    connect(mainWindow_.get(), &MainWindow::firstShown, this, [] {
        AppLoggers::app().notice("Main window shown");
        // After the event loop has taken over, so that whoever waits for this line can talk to the app.
        QTimer::singleShot(0, [] { announce(QStringLiteral("main window shown")); });
    });
    windows_.setContentFactory(AppWindow::settings, [this] {
        return new SettingsView(environment_->defaults(), environment_->notifications(),
                                DesktopIntegration::UserNotificationCenter::current());
    });
    windows_.setContentFactory(AppWindow::sendFeedback, [] {
        auto* view = new TamselUIKit::FeedbackView(
            QString::fromUtf8(feedbackMailToken.data(), static_cast<qsizetype>(feedbackMailToken.size())),
            productName(),
            QString::fromUtf8(supportMailAddress.data(), static_cast<qsizetype>(supportMailAddress.size())),
            TamselUIKit::IncludedLogs::currentProcess());
        QObject::connect(view, &TamselUIKit::FeedbackView::dismissRequested, view,
                         [view] { view->window()->close(); });
        return view;
    });
    windows_.setContentFactory(AppWindow::keyboardShortcuts, [this] {
        return new KeyboardShortcutsView(environment_->service().displayName());
    });
    installMenus();
    mainWindow_->show();
    return true;
}

int MarrowbellApplication::exec() {
    quitSignals_.deliverThroughEventLoop();
    return QApplication::exec();
}

void MarrowbellApplication::presentForAnotherLaunch() {
    announce(QStringLiteral("brought to the front for another launch"));
    if (!mainWindow_) {
        if (QWidget* message = QApplication::activeModalWidget()) {
            message->raise();
            message->activateWindow();
        }
        return;
    }
    mainWindow_->present();
}

void MarrowbellApplication::installMenus() {
    MenuActions actions{
        .quit = [] { QCoreApplication::quit(); },
        .showMainWindow = [this] { mainWindow_->present(); },
        .minimizeMainWindow = [this] { mainWindow_->showMinimized(); },
        .openSettings = [this] { windows_.open(AppWindow::settings); },
        .openFeedback = [this] { windows_.open(AppWindow::sendFeedback); },
        .openKeyboardShortcuts = [this] { windows_.open(AppWindow::keyboardShortcuts); },
        .checkForUpdates = [this] { updater_.checkForUpdates(mainWindow_.get()); },
        .resetData =
            [this] {
                resetData(environment_->store(), environment_->defaults(), this,
                          [] { QCoreApplication::quit(); });
            },
        .showAbout = [this] { showAbout(); },
        .showSearch =
            [this](bool catalog) {
                mainWindow_->present();
                if (auto* content = qobject_cast<MainContentView*>(mainWindow_->centralWidget())) {
                    content->showSearch(catalog ? SearchPickerSelection::catalog
                                                : SearchPickerSelection::library);
                }
            },
    };
    // The menu bar owns the commands.
    auto* menus = new MenuCommands(*mainWindow_->menuBar(), *models_->main,
                                   environment_->service().displayName(), actions);
    windows_.serveCommands(menus->keyedActions());
    tray_ = makeTrayIcon(
        *models_->main, [this] { mainWindow_->present(); }, [] { QCoreApplication::quit(); }, this);
}

void MarrowbellApplication::showAbout() {
    const ActiveService& service = environment_->service();
    QMessageBox::about(mainWindow_.get(), tr("About %1").arg(productName()),
                       tr("<b>%1</b> %2<br>A compact music player.<br><br>Music service: %3<br>%4")
                           .arg(productName(), QString::fromUtf8(appVersion().data()),
                                service.displayName().toHtmlEscaped(),
                                QString::fromStdString(service.configuration().apiBase).toHtmlEscaped()));
}

void MarrowbellApplication::showStartupFailure(const QString& message) {
    // From the announcement on, a quit signal ends the box below (whose event loop reads it) like its OK
    // button, so that the exit status still says that the start failed.
    quitSignals_.deliverThroughEventLoop();
    announce(QStringLiteral("cannot start: %1").arg(message));
    QMessageBox box(QMessageBox::Critical, tr("%1 cannot start").arg(productName()),
                    tr("%1 cannot start.").arg(productName()), QMessageBox::Ok);
    box.setInformativeText(message);
    connect(&quitSignals_, &QuitSignalHandler::quitRequested, &box, &QMessageBox::reject);
    box.exec();
}

void MarrowbellApplication::showStoreUnavailable(const QString& message) {
    announce(QStringLiteral("library unavailable: %1").arg(message));
    showLibraryUnavailable(mainWindow_.get(), message);
}

void MarrowbellApplication::closeWindows() {
    windows_.closeAll();
    if (mainWindow_) {
        mainWindow_->close();
    }
    if (tray_) {
        tray_->hide();
    }
}

} // namespace Marrowbell
