#include "App/AppEnvironment.h"

#include "App/DisplaySettings.h"
#include "App/SyncHistory.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

#include <MarrowbellCore/Store/SQLError.h>
#include <QPromise>
#include <memory>

namespace Marrowbell {
namespace {

constexpr std::chrono::seconds shutdownWait{5};

QString unavailableStoreMessage(const std::exception& error) {
    QString message = QString::fromUtf8(error.what());
    const auto* storeError = dynamic_cast<const MarrowbellCore::SQLError*>(&error);
    if (storeError && storeError->kind == MarrowbellCore::SQLError::Kind::damaged) {
        message +=
            QObject::tr("\n\nNothing more is read from it or written to it. Reset Data in the Help menu "
                        "replaces it with a new library.");
    }
    return message;
}

} // namespace

AppEnvironment::AppEnvironment(const Options& options, QObject* parent)
    : QObject(parent)
    , store_(options.databasePath)
    , defaults_(options.settingsPath)
    , service_(defaults_, options.demoSongCount) {
    store_.onDamage([this](const MarrowbellCore::SQLError& error) {
        QMetaObject::invokeMethod(
            this, [this, error] { announceUnavailableStore(error, "damaged_database"); },
            Qt::QueuedConnection);
    });
    watchStoreOpening();
    DisplaySettings::registerDefaults(defaults_);
}

AppEnvironment::~AppEnvironment() {
    shutDown();
}

void AppEnvironment::watchStoreOpening() {
    auto opened = std::make_shared<QPromise<void>>();
    opened->start();
    storeOpening_ = opened->future();
    whenFinished(store_.open(), this, [this, opened](QFuture<bool> opening) {
        try {
            // A library file that is gone is made anew, and must then be synced again.
            if (opening.result()) {
                forgetSyncHistory(defaults_);
            }
        } catch (const std::exception& error) {
            announceUnavailableStore(error, "open_database");
        }
        opened->finish();
    });
}

void AppEnvironment::announceUnavailableStore(const std::exception& error, const char* reportName) {
    AppLoggers::sync().error("The local database is unavailable: %@", {error});
    ErrorReporting::report(error, reportName);
    Q_EMIT storeUnavailable(unavailableStoreMessage(error));
}

void AppEnvironment::shutDown() {
    if (!background_.shutdown(shutdownWait)) {
        AppLoggers::app().error("Background work still running at quit");
    }
    store_.close();
    if (!store_.waitForIdle(shutdownWait)) {
        AppLoggers::sync().error("The local database was still busy at quit");
    }
}

} // namespace Marrowbell
