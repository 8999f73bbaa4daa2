#include "TamselUIKit/WelcomeViewModel.h"

#include "TamselUIKit/RecentDocumentsNotifier.h"
#include "TamselUIKit/RecentlyUsedDocuments.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>
#include <cstdio>
#include <exception>

namespace TamselUIKit {

namespace {

QList<WelcomeRecent> readRecents(const RecentDocumentsSource& source) {
    QList<WelcomeRecent> recents;
    for (const QUrl& url : source.recentDocumentURLs()) {
        if (recents.size() == WelcomeViewModel::maximumRecents) {
            break;
        }
        const QFileInfo file(url.toLocalFile());
        recents.append({url, url.isLocalFile() ? file.completeBaseName() : url.fileName(), QIcon()});
    }
    return recents;
}

bool sameURLs(const QList<WelcomeRecent>& left, const QList<WelcomeRecent>& right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end());
}

std::string describe(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
        return "unknown error";
    }
}

} // namespace

WelcomeViewModel::WelcomeViewModel(bool useThumbnails, bool allowsThumbnailInterpolation,
                                   std::shared_ptr<const RecentDocumentsSource> recentsSource,
                                   std::shared_ptr<const ThumbnailProvider> thumbnailProvider,
                                   QObject* parent)
    : QObject(parent)
    , useThumbnails_(useThumbnails)
    , allowsThumbnailInterpolation_(allowsThumbnailInterpolation)
    , recentsSource_(recentsSource ? std::move(recentsSource) : std::make_shared<RecentlyUsedDocuments>())
    , thumbnailProvider_(thumbnailProvider ? std::move(thumbnailProvider)
                                           : std::make_shared<ImageFileThumbnailProvider>()) {
    connect(&RecentDocumentsNotifier::shared(), &RecentDocumentsNotifier::recentsDidChange, this,
            [this] { reload(); });
}

void WelcomeViewModel::setActions(QList<WelcomeAction> actions) {
    actions_ = std::move(actions);
    Q_EMIT actionsChanged();
}

QFuture<void> WelcomeViewModel::reload() {
    const quint64 generation = ++reloadGeneration_;
    auto applied = std::make_shared<QPromise<void>>();
    applied->start();
    auto* reading = new QFutureWatcher<QList<WelcomeRecent>>(this);
    connect(reading, &QFutureWatcherBase::finished, this, [this, reading, generation, applied] {
        reading->deleteLater();
        // A reload that began later may already have applied newer recents.
        if (generation == reloadGeneration_) {
            applyRecents(reading->result());
        }
        applied->finish();
    });
    reading->setFuture(QtConcurrent::run([source = recentsSource_] { return readRecents(*source); }));
    return applied->future();
}

void WelcomeViewModel::applyRecents(QList<WelcomeRecent> recents) {
    if (sameURLs(recents, recents_)) {
        return;
    }
    for (auto& recent : recents) {
        recent.fastIcon = iconProvider_.icon(QFileInfo(recent.url.toLocalFile()));
    }
    recents_ = std::move(recents);
    // Thumbnails of documents that left the list would otherwise pile up for the model's lifetime.
    recentsToThumbnails_.removeIf([this](const auto& entry) {
        return std::none_of(recents_.begin(), recents_.end(),
                            [&](const WelcomeRecent& recent) { return recent.url == entry.key(); });
    });
    Q_EMIT recentsChanged();
    if (useThumbnails_) {
        generateThumbnails();
    }
}

void WelcomeViewModel::generateThumbnails() {
    for (const auto& recent : std::as_const(recents_)) {
        if (!recentsToThumbnails_.contains(recent.url)) {
            generateThumbnail(recent.url);
        }
    }
}

void WelcomeViewModel::generateThumbnail(const QUrl& url) {
    auto* making = new QFutureWatcher<QImage>(this);
    connect(making, &QFutureWatcherBase::finished, this, [this, making, url] {
        making->deleteLater();
        QImage thumbnail;
        try {
            thumbnail = making->result();
        } catch (...) {
            std::printf("Failed to generate thumbnail for %s: %s\n", qPrintable(url.toString()),
                        describe(std::current_exception()).c_str());
            std::fflush(stdout);
            return;
        }
        const bool isListed = std::any_of(recents_.begin(), recents_.end(),
                                          [&](const WelcomeRecent& recent) { return recent.url == url; });
        if (thumbnail.isNull() || !isListed) {
            recentsToThumbnails_.remove(url);
        } else {
            recentsToThumbnails_.insert(url, thumbnail);
        }
        Q_EMIT thumbnailsChanged();
    });
    making->setFuture(QtConcurrent::run(
        [provider = thumbnailProvider_, url] { return provider->thumbnail(url, thumbnailPixelSize); }));
}

} // namespace TamselUIKit
