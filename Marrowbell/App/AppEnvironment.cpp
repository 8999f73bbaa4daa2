#include "App/AppEnvironment.h"

#include "App/DisplaySettings.h"
#include "ErrorReporting/ErrorReporting.h"
#include "Platform/AppLoggers.h"
#include "Platform/GuiDelivery.h"

namespace Marrowbell {
namespace {

constexpr std::chrono::seconds shutdownWait{5};

} // namespace

AppEnvironment::AppEnvironment(const Options& options, QObject* parent)
    : QObject(parent)
    , store_(options.databasePath)
    , defaults_(options.settingsPath)
    , service_(options.demoSongCount) {
    watchStoreOpening();
    DisplaySettings::registerDefaults(defaults_);
}

AppEnvironment::~AppEnvironment() {
    shutDown();
}

void AppEnvironment::watchStoreOpening() {
    whenFinished(store_.open(), this, [this](QFuture<void> opening) {
        try {
            opening.waitForFinished();
        } catch (const std::exception& error) {
            AppLoggers::sync().error("Failed to open the local database: %@", {error});
            ErrorReporting::report(error, "open_database");
            Q_EMIT storeOpenFailed(QString::fromStdString(error.what()));
        }
    });
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
