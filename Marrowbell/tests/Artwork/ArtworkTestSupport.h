#pragma once

#include "Artwork/ArtworkImageCache.h"
#include "LocalHttpServer.h"

#include <QColor>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// Waits (bounded) for the cache's answer to one load.
inline std::optional<Marrowbell::ArtworkLoadResult> loadAndWait(Marrowbell::ArtworkImageCache& cache,
                                                                const QUrl& url, const QString& key) {
    std::optional<Marrowbell::ArtworkLoadResult> result;
    QObject context;
    cache.loadImage(url, key, &context,
                    [&result](const Marrowbell::ArtworkLoadResult& answer) { result = answer; });
    if (!QTest::qWaitFor([&result] { return result.has_value(); }, 10'000)) {
        return std::nullopt;
    }
    return result;
}

inline QColor centreColor(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// A server with a red picture at "/red.png", a blue one at "/blue.png" (both 200 by 100 pixels) and the
// refused answers a cache meets in the wild.
inline LocalHttpServer::Answer standardAnswer(const QByteArray& path) {
    if (path == "/red.png") {
        return {200, "image/png", solidPNG(Qt::red, {200, 100})};
    }
    if (path == "/blue.png") {
        return {200, "image/png", solidPNG(Qt::blue, {200, 100})};
    }
    if (path == "/text.png") {
        return {200, "text/html; charset=utf-8", "<html>Not here</html>"};
    }
    if (path == "/garbage.png") {
        return {200, "image/png", "these bytes are no picture"};
    }
    if (path == "/huge.png" || path == "/huge-unannounced.png") {
        QByteArray body = solidPNG(Qt::green, {8, 8});
        body.append(11 * 1024 * 1024 - body.size(), '\0');
        return {200, "image/png", body, path == "/huge.png"};
    }
    return {404, "text/plain", "not found"};
}

// A cache with its own folder, emptied with the test.
struct TemporaryArtworkCache {
    QTemporaryDir folder;
    Marrowbell::ArtworkImageCache cache{folder.path()};
};
