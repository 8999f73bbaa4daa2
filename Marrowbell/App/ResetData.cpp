#include "App/ResetData.h"

#include "ErrorReporting/ErrorReporting.h"
#include "Platform/AppLoggers.h"
#include "Platform/Defaults.h"
#include "Platform/GuiDelivery.h"
#include "Store/SharedStore.h"

#include <filesystem>
#include <system_error>

namespace Marrowbell {
namespace {

// The database itself must go; its companions exist only while SQLite keeps them.
void removeDatabaseFiles(const std::filesystem::path& database) {
    std::error_code error;
    if (!std::filesystem::remove(database, error) && !error) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        std::error_code companionError;
        std::filesystem::remove(database.string() + suffix, companionError);
        if (companionError && !error) {
            error = companionError;
        }
    }
    if (error) {
        throw std::filesystem::filesystem_error("Failed to remove the local database", database, error);
    }
}

} // namespace

void resetData(SharedStore& store, Defaults& defaults, QObject* context, std::function<void()> quit) {
    const std::filesystem::path database = store.databasePath().toStdString();
    whenFinished(store.close(), context, [&defaults, database, quit](QFuture<void> closing) {
        try {
            closing.waitForFinished();
        } catch (const std::exception& error) {
            AppLoggers::sync().error("Failed to close the local database: %@", {error});
        }
        defaults.removeAll();
        try {
            removeDatabaseFiles(database);
        } catch (const std::exception& error) {
            ErrorReporting::report(error, "remove_local_database");
            AppLoggers::sync().error("Failed to remove local database: %@", {error});
        }
        quit();
    });
}

} // namespace Marrowbell
