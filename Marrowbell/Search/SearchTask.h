#pragma once

#include "Search/SearchViewModel.h"

#include <MarrowbellCore/ItemViews/SearchSection.h>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

namespace Marrowbell {

class BackgroundWork;
class RecommendationListViewModel;
class SharedStore;

/// The search panel's searches. Each start() stops the search still running and starts one: the stored
/// library (on the store's thread) followed by the Made for You and Stations for You sections, or the
/// service's catalog (on a worker). Only the newest search's sections are ever delivered, through
/// resultsReady on the GUI thread; a search that fails (cancelled or not) prints "Search cancelled" and,
/// while still the newest, delivers no sections. GUI thread only.
class SearchTask final : public QObject {
    Q_OBJECT

public:
    SearchTask(SharedStore& store, BackgroundWork& background, const RecommendationListViewModel& madeForYou,
               const RecommendationListViewModel& stations, QObject* parent = nullptr);
    /// Stops the running search; its answer is dropped.
    ~SearchTask() override;

    /// Searches `text` (untrimmed; an empty trimmed text gives no sections) in `source`.
    void start(const QString& text, SearchPickerSelection source);

    /// Searches started so far; a search is current while no later one has started.
    std::uint64_t searchesStarted() const { return searchesStarted_; }

Q_SIGNALS:
    /// The newest search's sections, in order, with the list height they ask for.
    void resultsReady(const std::vector<MarrowbellCore::SearchSection>& sections, double listHeight);

private:
    void startLibrarySearch(const std::string& text, std::uint64_t search, std::stop_token stopToken);
    void startCatalogSearch(const std::string& text, std::uint64_t search, std::stop_token stopToken);
    void install(std::vector<MarrowbellCore::SearchSection> sections, std::uint64_t search);
    void fail(std::uint64_t search);
    bool isCurrent(std::uint64_t search) const { return search == searchesStarted_; }

    SharedStore& store_;
    BackgroundWork& background_;
    const RecommendationListViewModel& madeForYou_;
    const RecommendationListViewModel& stations_;
    std::uint64_t searchesStarted_ = 0;
    std::optional<std::stop_source> running_;
};

} // namespace Marrowbell
