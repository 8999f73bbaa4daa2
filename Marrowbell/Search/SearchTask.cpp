#include "Search/SearchTask.h"

#include "LibraryModels/RecommendationListViewModel.h"
#include "Platform/BackgroundWork.h"
#include "Platform/GuiDelivery.h"
#include "Search/SearchLayout.h"
#include "Store/SharedStore.h"

#include <Foundation/CancellationError.h>
#include <MarrowbellCore/Requests/CatalogSearchEngine.h>
#include <cstdio>

namespace Marrowbell {
namespace {

using Sections = std::vector<MarrowbellCore::SearchSection>;

void append(Sections& sections, Sections more) {
    for (auto& section : more) {
        sections.push_back(std::move(section));
    }
}

} // namespace

SearchTask::SearchTask(SharedStore& store, BackgroundWork& background,
                       const RecommendationListViewModel& madeForYou,
                       const RecommendationListViewModel& stations, QObject* parent)
    : QObject(parent)
    , store_(store)
    , background_(background)
    , madeForYou_(madeForYou)
    , stations_(stations) {}

SearchTask::~SearchTask() {
    if (running_) {
        running_->request_stop();
    }
}

void SearchTask::start(const QString& text, SearchPickerSelection source) {
    if (running_) {
        running_->request_stop();
    }
    running_.emplace();
    const std::uint64_t search = ++searchesStarted_;
    if (source == SearchPickerSelection::library) {
        startLibrarySearch(text.toStdString(), search, running_->get_token());
    } else {
        startCatalogSearch(text.toStdString(), search, running_->get_token());
    }
}

void SearchTask::startLibrarySearch(const std::string& text, std::uint64_t search,
                                    std::stop_token stopToken) {
    // A search queued behind others on the store's thread stops before it reads anything once superseded.
    auto found = store_.run([text, stopToken](MarrowbellCore::LocalDatabase& database) {
        Foundation::checkCancellation(stopToken);
        return database.search(text, stopToken);
    });
    whenFinished(found, this, [this, search, text](QFuture<Sections> finished) {
        Sections sections;
        try {
            sections = finished.takeResult();
        } catch (...) {
            fail(search);
            return;
        }
        // The recommendation models live on this thread, so their sections are read only here, and only
        // for the search that is still current.
        if (!isCurrent(search)) {
            return;
        }
        const QString query = QString::fromStdString(text);
        append(sections, madeForYou_.searchSection(query));
        append(sections, stations_.searchSection(query));
        install(std::move(sections), search);
    });
}

void SearchTask::startCatalogSearch(const std::string& text, std::uint64_t search,
                                    std::stop_token stopToken) {
    auto found = background_.run(
        [text](std::stop_token token) { return MarrowbellCore::CatalogSearchEngine::search(text, token); },
        stopToken);
    whenFinished(found, this, [this, search](QFuture<Sections> finished) {
        try {
            install(finished.takeResult(), search);
        } catch (...) {
            fail(search);
        }
    });
}

// The results shown must answer the text in the field: those of an earlier text go, as if nothing matched.
void SearchTask::fail(std::uint64_t search) {
    std::puts("Search cancelled");
    install({}, search);
}

// A superseded search can still come back with an answer (a slow catalog reply, a store read that passed
// its last cancellation check); installing it would show the results of older text over newer ones.
void SearchTask::install(Sections sections, std::uint64_t search) {
    if (!isCurrent(search)) {
        return;
    }
    const double listHeight = SearchLayout::listHeight(sections);
    Q_EMIT resultsReady(sections, listHeight);
}

} // namespace Marrowbell
