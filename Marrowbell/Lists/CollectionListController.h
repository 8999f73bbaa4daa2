#pragma once

#include "Lists/CollectionListControllerBase.h"
#include "Navigation/Titled.h"

#include <QMenu>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Marrowbell {

/// The one list of the pod's panes: `Item`s in a single-column table of TableCell rows, filled by
/// `configurator`. Selecting a row writes the item's identifier to the selection binding; Return, a
/// double-click and the artwork's play button run `doubleClick` with the item; a right-click shows the menu
/// of `contextMenu` when set. Replacing the items reloads the table only when the identifiers changed;
/// otherwise only the visible rows whose content changed are repainted. GUI thread only.
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

    void setItems(std::vector<Item> items) {
        std::vector<QString> identifiers;
        identifiers.reserve(items.size());
        for (const Item& item : items) {
            identifiers.push_back(rowID(item));
        }
        if (identifiers != displayedItemIDs()) {
            reloadAllRows(std::move(identifiers), [&] { items_ = std::move(items); });
            return;
        }
        const std::vector<int> changed = visibleRowsWithNewContent(items);
        items_ = std::move(items);
        reloadRows(changed);
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
    Configurator configurator_;
    DoubleClick doubleClick_;
    ContextMenu contextMenu_;
};

} // namespace Marrowbell
