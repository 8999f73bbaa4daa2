#pragma once

#include "App/AppEnvironment.h"

#include <QFuture>
#include <QTemporaryDir>
#include <QTest>
#include <cstddef>
#include <memory>

namespace Marrowbell::Testing {

/// An application environment with its store and settings in `folder`, starting a demo service of
/// `demoSongCount` songs. Throws what AppEnvironment throws.
inline std::unique_ptr<AppEnvironment>
makeAppEnvironment(const QTemporaryDir& folder,
                   std::size_t demoSongCount = ActiveService::defaultDemoSongCount) {
    return std::make_unique<AppEnvironment>(
        AppEnvironment::Options{.databasePath = folder.filePath(QStringLiteral("local.db")),
                                .settingsPath = folder.filePath(QStringLiteral("settings.conf")),
                                .demoSongCount = demoSongCount});
}

/// Waits for `future` with the event loop running; false when it has not finished within `timeoutMs`.
template <class T> bool finishes(const QFuture<T>& future, int timeoutMs = 30000) {
    return QTest::qWaitFor([&] { return future.isFinished(); }, timeoutMs);
}

} // namespace Marrowbell::Testing
