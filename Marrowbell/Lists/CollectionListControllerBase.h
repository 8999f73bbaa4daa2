#pragma once

#include "Lists/KeyHandlingTableView.h"
#include "Lists/ListBinding.h"
#include "Lists/ListEnvironment.h"
#include "Lists/RowIdentifiers.h"
#include "Lists/TableCellSource.h"

#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Marrowbell {

class CollectionListModel;
class ObservationTrackingToken;

/// The untyped half of CollectionListController<Item>: the table, its model and row painter, and everything
/// that needs no item type. It keeps the table's selection and the selection binding in step (reloads never
/// write the binding), remembers its scroll position per autosave name across pane rebuilds, repaints its
/// visible rows 10 ms after the last "reloadVisibleRows", re-reads the display settings 10 ms after the last
/// "reloadAppearance" (a dragged slider posts many), and routes Return, double-clicks and the artwork's play
/// button to the double-click action. Each row is as tall as its content at the list's width: rows are
/// measured when they are first shown or scrolled to (a list of 100,000 rows measures only those), and again
/// 10 ms after the last resize that changed the width. GUI thread only.
class CollectionListControllerBase : public KeyHandlingTableView, protected TableCellSource {
    Q_OBJECT

public:
    using SelectionBinding = ListBinding<std::optional<QString>>;

    /// Delay that folds many reload requests into one.
    static constexpr int reloadCoalescingMilliseconds = 10;
    /// Rows measured for the height that rows have until they are shown: enough to see whether the list's
    /// rows carry subtitles.
    static constexpr int measuredRowSample = 16;
    /// The narrowest column rows are measured at; a narrower one is measured at the last usable width seen.
    static constexpr int minimumUsableColumnWidth = 128;

    ~CollectionListControllerBase() override;

    int tag() const { return tag_; }
    const std::optional<QString>& autosaveName() const { return autosaveName_; }
    const ListEnvironment& environment() const { return environment_; }

    /// The pod's active pane; gaining focus from the user writes this list's tag into it (animated 0.3 s).
    void setFocusedTag(std::optional<ListBinding<int>> focusedTag) { focusedTag_ = std::move(focusedTag); }
    /// Replaces the pause request of a playing row's artwork button (pausing the shared player).
    void setPauseAction(std::function<void()> pause) { pause_ = std::move(pause); }
    /// Runs each time the list is shown (the list models load there).
    void setTask(std::function<void()> task) { task_ = std::move(task); }
    /// Observation tokens that live as long as the list.
    std::vector<std::shared_ptr<ObservationTrackingToken>> tokens;

    /// Selects the row of the binding's identifier (nothing when absent), scrolling it into view while a
    /// scroll-to-selection is under way.
    void syncSelectionFromBinding();
    /// Takes the keyboard focus when this list is the pod's active pane.
    void syncFirstResponder();

    /// Repaints the visible rows now (what a coalesced "reloadVisibleRows" ends in).
    void reloadVisibleRowsNow();
    /// Re-reads the display settings: table style, row heights, every row; then the selection sync. The
    /// selection and the row at the top stay.
    void reloadAppearance();

    /// Measures the rows around `index` first, so that it lands where it will be painted.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    /// From here until the observers of what was set before endScrollToSelection() have run, every
    /// selection a list applies scrolls its row into view. Nests.
    static void beginScrollToSelection();
    static void endScrollToSelection();
    static bool isScrollingToSelection();
    /// Forgets every list's saved scroll position.
    static void forgetSavedScrollPositions();

protected:
    CollectionListControllerBase(const ListEnvironment& environment, SelectionBinding selection, int tag,
                                 std::optional<QString> autosaveName, QWidget* parent);

    virtual int itemCount() const = 0;
    virtual QString itemID(int row) const = 0;
    virtual QString itemTitle(int row) const = 0;
    virtual void runDoubleClick(int row) = 0;
    virtual std::unique_ptr<QMenu> menuForItem(int row) = 0;

    /// The last step of construction, once the items are in place: table style, rows, selection.
    void loadRows();
    /// The items were replaced by a list of other identifiers; `replaceItems` stores them. The replaced
    /// identifiers are destroyed on the list worker. The selected row is scrolled into view when
    /// `scrollToSelection` or while a scroll-to-selection is under way.
    void reloadAllRows(std::shared_ptr<const RowIdentifiers> identifiers,
                       const std::function<void()>& replaceItems, bool scrollToSelection = false);
    /// Repaints rows whose content changed under unchanged identifiers.
    void reloadRows(const std::vector<int>& rows);
    const std::shared_ptr<const RowIdentifiers>& shownIdentifiers() const { return shownIdentifiers_; }

    QString rowIdentifier(int row) const override;
    int fittingRowHeight(int row) const override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void applyTableStyle();
    void estimateRowHeights();
    double measuringWidth() const;
    bool fitRows(const QList<int>& rows);
    bool fitVisibleRows();
    bool fitRowsAround(int row);
    void reloadHeights();
    int rowOfIdentifier(const QString& identifier) const;
    void syncSelection(bool scrollToSelection);
    void selectionDidChange();
    void handleDoubleAction();
    void playRow(int row);
    void focusWasGained(bool byUser);
    void restoreScrollPosition();

    ListEnvironment environment_;
    SelectionBinding selection_;
    int tag_;
    std::optional<QString> autosaveName_;
    std::optional<ListBinding<int>> focusedTag_;
    std::function<void()> pause_;
    std::function<void()> task_;
    std::shared_ptr<const RowIdentifiers> shownIdentifiers_ = std::make_shared<const RowIdentifiers>();
    int suppressSelection_ = 0;
    bool restoredScrollPosition_ = false;
    CollectionListModel* model_;
    TableCellPainter* painter_;
    /// Per row the height that fits it at the current width; 0 until it is measured.
    mutable std::vector<std::uint16_t> fittedHeights_;
    int lastTableViewWidth_ = 0;
    QTimer visibleRowsReload_;
    QTimer appearanceReload_;
    QTimer heightsReload_;
};

} // namespace Marrowbell
