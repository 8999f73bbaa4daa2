#pragma once

#include "Lists/CollectionListControllerBase.h"
#include "Lists/ListWorker.h"
#include "Navigation/Titled.h"
#include "Platform/BackgroundTask.h"
#include "Platform/GuiDelivery.h"

#include <QMenu>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Marrowbell {

/// The one list of the pod's panes: `Item`s in a single-column table of TableCell rows, filled by
/// `configurator`. Selecting a row writes the item's identifier to the selection binding; Return, a
/// double-click and the artwork's play button run `doubleClick` with the item; a right-click shows the menu
/// of `contextMenu` when set. Replacing the items reloads the table only when the identifiers changed;
/// otherwise only the visible rows whose content changed are repainted. Long lists are better replaced with
/// `prepareItems`, which leaves the GUI thread only the swap. GUI thread only.
template <Titled Item> class CollectionListController final : public CollectionListControllerBase {
public:
    using Configurator =
        std::function<void(TableCell& cell, const Item& item, CellConfiguration configuration)>;
    using DoubleClick = std::function<void(const Item& item)>;
    using ContextMenu = std::function<std::unique_ptr<QMenu>(const QString& itemID)>;

    CollectionListController(const ListEnvironment& environment, std::vector<Item> items,
                             SelectionBinding selection, int tag, std::optional<QString> autosaveName,
                             Configurator configurator, DoubleClick doubleClick, QWidget* parent = nullptr)
        : CollectionListControllerBase(environment, std::move(selection), tag, std::move(autosaveName),
                                       parent)
        , items_(std::move(items))
        , configurator_(std::move(configurator))
        , doubleClick_(std::move(doubleClick)) {
        loadRows();
    }

    const std::vector<Item>& items() const { return items_; }

    /// Replaces the items at once.
    void setItems(std::vector<Item> items) {
        ++*newestPreparation_;
        showPrepared(prepare(std::move(items), shownIdentifiers()), false);
    }

    /// Replaces the items with those `makeItems` returns, called on the list worker. Their identifiers are
    /// taken and compared with the shown ones there too, and the replaced items are destroyed there; the GUI
    /// thread swaps the finished rows in on a later turn. Only the newest replacement asked for is shown:
    /// one asked for before it is dropped, built or not. A scroll-to-selection under way now (a snap-back
    /// that restores these rows with their selection) still scrolls to the selected row when they arrive.
    void prepareItems(std::function<std::vector<Item>()> makeItems) {
        const std::uint64_t preparation = ++*newestPreparation_;
        const bool scrollToSelection = isScrollingToSelection();
        auto rows = startOnPool(listWorker(), [makeItems = std::move(makeItems), shown = shownIdentifiers(),
                                               newest = newestPreparation_, preparation] {
            if (newest->load() != preparation) {
                return std::optional<Prepared>();
            }
            return std::optional<Prepared>(prepare(makeItems(), shown));
        });
        whenFinished(rows, this,
                     [this, preparation, scrollToSelection](QFuture<std::optional<Prepared>> built) {
                         std::optional<Prepared> prepared = built.takeResult();
                         if (prepared && preparation == newestPreparation_->load()) {
                             showPrepared(std::move(*prepared), scrollToSelection);
                         } else {
                             releaseOnListWorker(std::move(prepared));
                         }
                     });
    }

    void setContextMenu(ContextMenu contextMenu) { contextMenu_ = std::move(contextMenu); }

protected:
    int itemCount() const override { return static_cast<int>(items_.size()); }
    QString itemID(int row) const override { return rowID(at(row)); }
    QString itemTitle(int row) const override { return rowTitle(at(row)); }
    void runDoubleClick(int row) override { doubleClick_(at(row)); }
    std::unique_ptr<QMenu> menuForItem(int row) override {
        return contextMenu_ ? contextMenu_(rowID(at(row))) : nullptr;
    }
    void configureCell(TableCell& cell, int row, CellConfiguration configuration) const override {
        configurator_(cell, at(row), configuration);
    }

private:
    /// New items with their identifiers, and whether those equal the identifiers they were compared with.
    struct Prepared {
        std::vector<Item> items;
        std::shared_ptr<const RowIdentifiers> identifiers;
        std::shared_ptr<const RowIdentifiers> comparedWith;
        bool sameIdentifiers = false;
    };

    static Prepared prepare(std::vector<Item> items, std::shared_ptr<const RowIdentifiers> shown) {
        std::vector<QString> identifiers;
        identifiers.reserve(items.size());
        for (const Item& item : items) {
            identifiers.push_back(rowID(item));
        }
        auto prepared = std::make_shared<const RowIdentifiers>(std::move(identifiers));
        const bool same = *prepared == *shown;
        return {std::move(items), std::move(prepared), std::move(shown), same};
    }

    void showPrepared(Prepared prepared, bool scrollToSelection) {
        std::vector<Item> replaced;
        // The comparison holds only for the identifiers it was made with: others may have been shown since.
        if (prepared.sameIdentifiers && prepared.comparedWith == shownIdentifiers()) {
            const std::vector<int> changed = visibleRowsWithNewContent(prepared.items);
            replaced = std::exchange(items_, std::move(prepared.items));
            reloadRows(changed);
        } else {
            reloadAllRows(
                std::move(prepared.identifiers),
                [&] { replaced = std::exchange(items_, std::move(prepared.items)); }, scrollToSelection);
        }
        releaseOnListWorker(std::move(replaced));
        releaseOnListWorker(std::move(prepared));
    }

    const Item& at(int row) const { return items_[static_cast<std::size_t>(row)]; }

    // Items equal by identifier may still read differently (a renamed playlist): compare what the rows show.
    std::vector<int> visibleRowsWithNewContent(const std::vector<Item>& newItems) const {
        std::vector<int> changed;
        const auto [first, last] = visibleRows();
        for (int row = first; row >= 0 && row <= last; ++row) {
            TableCell shown;
            TableCell next;
            configurator_(shown, at(row), CellConfiguration::regular);
            configurator_(next, newItems[static_cast<std::size_t>(row)], CellConfiguration::regular);
            if (!(shown == next)) {
                changed.push_back(row);
            }
        }
        return changed;
    }

    std::vector<Item> items_;
    /// Counts the replacements asked for; shared with the list worker, which skips building superseded ones.
    std::shared_ptr<std::atomic<std::uint64_t>> newestPreparation_ =
        std::make_shared<std::atomic<std::uint64_t>>(0);
    Configurator configurator_;
    DoubleClick doubleClick_;
    ContextMenu contextMenu_;
};

} // namespace Marrowbell
