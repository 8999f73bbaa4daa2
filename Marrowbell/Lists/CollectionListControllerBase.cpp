#include "Lists/CollectionListControllerBase.h"

#include "App/DisplaySettings.h"
#include "Lists/CollectionListModel.h"
#include "Lists/ListWorker.h"
#include "Lists/TableCellPainter.h"
#include "Observation/AnimationContext.h"
#include "Observation/ObservationTracking.h"
#include "Platform/AppLoggers.h"
#include "Platform/AppNotifications.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <QCoreApplication>
#include <QHash>
#include <QHeaderView>
#include <QScrollBar>
#include <TamselUIKit/TableViewRowHeights.h>
#include <algorithm>
#include <limits>
#include <map>

namespace Marrowbell {
namespace {

constexpr double paneMoveDuration = 0.3;
// Room under the last row for the player bar that floats over the list.
constexpr int bottomContentInset = 52;

QHash<QString, int>& savedScrollPositions() {
    static QHash<QString, int> positions;
    return positions;
}

int& scrollToSelectionDepth() {
    static int depth = 0;
    return depth;
}

// Shared by every list, so that a list squeezed narrower than usable measures as the last usable one did.
int& lastUsableColumnWidth() {
    static int width = 0;
    return width;
}

// Painting rows can show rows not yet measured; measuring them settles within a few rounds.
constexpr int fittingRounds = 4;

// A table with grid lines gives each row one pixel more, for its line, when it measures it.
int gridLineHeight(const QTableView& table) {
    return table.showGrid() ? 1 : 0;
}

} // namespace

CollectionListControllerBase::CollectionListControllerBase(const ListEnvironment& environment,
                                                           SelectionBinding selection, int tag,
                                                           std::optional<QString> autosaveName,
                                                           QWidget* parent)
    : KeyHandlingTableView(parent)
    , environment_(environment)
    , selection_(std::move(selection))
    , tag_(tag)
    , autosaveName_(std::move(autosaveName))
    , pause_([] { MusicKit::ApplicationMusicPlayer::shared().pause(); })
    , model_(new CollectionListModel([this] { return shownIdentifiers_->count(); },
                                     [this](int row) { return itemTitle(row); },
                                     [this](int row) {
                                         TableCell cell;
                                         configureCell(cell, row, CellConfiguration::regular);
                                         return cell.accessibleDescription();
                                     },
                                     this))
    , painter_(new TableCellPainter(*this, environment.artwork, environment.clock, *this)) {
    setObjectName(autosaveName_.value_or(QString()));
    setCellPainter(painter_);
    setModel(model_);
    setMenuProvider([this](int row) { return row < 0 ? nullptr : menuForItem(row); });

    for (QTimer* reload : {&visibleRowsReload_, &appearanceReload_, &heightsReload_}) {
        reload->setSingleShot(true);
        reload->setInterval(reloadCoalescingMilliseconds);
    }
    connect(&visibleRowsReload_, &QTimer::timeout, this, &CollectionListControllerBase::reloadVisibleRowsNow);
    connect(&appearanceReload_, &QTimer::timeout, this, &CollectionListControllerBase::reloadAppearance);
    connect(&heightsReload_, &QTimer::timeout, this, &CollectionListControllerBase::reloadHeights);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CollectionListControllerBase::selectionDidChange);
    connect(this, &KeyHandlingTableView::doubleActionRequested, this,
            &CollectionListControllerBase::handleDoubleAction);
    connect(this, &KeyHandlingTableView::rowDoubleClicked, this,
            &CollectionListControllerBase::handleDoubleAction);
    connect(this, &KeyHandlingTableView::artworkOverlayClicked, this, &CollectionListControllerBase::playRow);
    connect(this, &KeyHandlingTableView::focusGained, this, &CollectionListControllerBase::focusWasGained);
    connect(this, &KeyHandlingTableView::rowClicked, &environment_.notifications,
            &AppNotifications::navigateRightOnSelection);
    connect(&environment_.notifications, &AppNotifications::reloadVisibleRows, &visibleRowsReload_,
            qOverload<>(&QTimer::start));
    connect(&environment_.notifications, &AppNotifications::reloadAppearance, &appearanceReload_,
            qOverload<>(&QTimer::start));
}

// A list the pod drops while it shows keeps its place for the next one of its name.
CollectionListControllerBase::~CollectionListControllerBase() {
    if (autosaveName_ && isVisible()) {
        savedScrollPositions().insert(*autosaveName_, verticalScrollBar()->value());
    }
}

void CollectionListControllerBase::loadRows() {
    applyTableStyle();
    std::vector<QString> identifiers;
    identifiers.reserve(static_cast<std::size_t>(itemCount()));
    for (int row = 0; row < itemCount(); ++row) {
        identifiers.push_back(itemID(row));
    }
    reloadAllRows(std::make_shared<const RowIdentifiers>(std::move(identifiers)), [] {});
}

QString CollectionListControllerBase::rowIdentifier(int row) const {
    return shownIdentifiers_->at(row);
}

void CollectionListControllerBase::reloadAllRows(std::shared_ptr<const RowIdentifiers> identifiers,
                                                 const std::function<void()>& replaceItems,
                                                 bool scrollToSelection) {
    ++suppressSelection_;
    std::shared_ptr<const RowIdentifiers> replaced;
    model_->reloadAll([&] {
        replaceItems();
        replaced = std::exchange(shownIdentifiers_, std::move(identifiers));
        fittedHeights_.assign(static_cast<std::size_t>(shownIdentifiers_->count()), 0);
    });
    releaseOnListWorker(std::move(replaced));
    estimateRowHeights();
    --suppressSelection_;
    syncSelection(scrollToSelection || isScrollingToSelection());
}

void CollectionListControllerBase::reloadRows(const std::vector<int>& rows) {
    for (const int row : rows) {
        fittedHeights_[static_cast<std::size_t>(row)] = 0;
        model_->reloadRows(row, row);
    }
}

void CollectionListControllerBase::applyTableStyle() {
    const bool alternating = DisplaySettings::useAlternatingRowColors(environment_.defaults);
    setAlternatingRowColors(alternating);
    setShowGrid(!alternating);
    setGridStyle(Qt::SolidLine);
}

// Until a row is shown it has the height most of the first rows have with a one-line title; the scroll bar is
// then about right without measuring every title of a long list.
void CollectionListControllerBase::estimateRowHeights() {
    std::map<int, int> heightCounts;
    TableCell cell;
    const int sample = std::min(itemCount(), measuredRowSample);
    for (int row = 0; row < sample; ++row) {
        cell = TableCell();
        configureCell(cell, row, CellConfiguration::preview);
        ++heightCounts[TableCellLayout::fittingHeight(cell, 1, cell.titleFont(font()), font())];
    }
    if (sample == 0) {
        cell.refreshAppearance(environment_.defaults);
        ++heightCounts[TableCellLayout::fittingHeight(cell, 1, cell.titleFont(font()), font())];
    }
    const auto common =
        std::max_element(heightCounts.cbegin(), heightCounts.cend(),
                         [](const auto& lhs, const auto& rhs) { return lhs.second < rhs.second; });
    verticalHeader()->setDefaultSectionSize(common->first + gridLineHeight(*this));
}

double CollectionListControllerBase::measuringWidth() const {
    const int column = columnWidth(0);
    if (column >= minimumUsableColumnWidth) {
        lastUsableColumnWidth() = column;
    }
    const int usable = column >= minimumUsableColumnWidth ? column : lastUsableColumnWidth();
    // A row is painted beside the grid line, which is as wide as it is high.
    return std::max(0, usable - gridLineHeight(*this) - 2 * TableCellPainter::rowInset);
}

int CollectionListControllerBase::fittingRowHeight(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= fittedHeights_.size()) {
        return verticalHeader()->defaultSectionSize();
    }
    std::uint16_t& fitted = fittedHeights_[static_cast<std::size_t>(row)];
    if (fitted == 0) {
        TableCell cell;
        configureCell(cell, row, CellConfiguration::preview);
        const QFont titleFont = cell.titleFont(font());
        const int lines = TableCellLayout::titleLineCount(cell, measuringWidth(), titleFont);
        fitted = static_cast<std::uint16_t>(
            std::clamp(TableCellLayout::fittingHeight(cell, lines, titleFont, font()), 1,
                       int{std::numeric_limits<std::uint16_t>::max()}));
    }
    return fitted;
}

// True when a row changed its height.
bool CollectionListControllerBase::fitRows(const QList<int>& rows) {
    QList<int> changed;
    for (const int row : rows) {
        if (rowHeight(row) != fittingRowHeight(row) + gridLineHeight(*this)) {
            changed.append(row);
        }
    }
    TamselUIKit::noteHeightOfRowsWithoutAnimation(*this, changed);
    return !changed.isEmpty();
}

bool CollectionListControllerBase::fitVisibleRows() {
    bool changed = false;
    for (int round = 0; round < fittingRounds; ++round) {
        const auto [first, last] = visibleRows();
        QList<int> unfitted;
        for (int row = first; row >= 0 && row <= last; ++row) {
            if (fittedHeights_[static_cast<std::size_t>(row)] == 0) {
                unfitted.append(row);
            }
        }
        if (unfitted.isEmpty()) {
            break;
        }
        changed = fitRows(unfitted) || changed;
    }
    return changed;
}

// The rows a viewport's height above and below `row`: wherever a scroll puts it, they are what shows.
bool CollectionListControllerBase::fitRowsAround(int row) {
    QList<int> rows{row};
    const int reach = viewport()->height();
    for (int above = row - 1, covered = 0; above >= 0 && covered < reach; --above) {
        rows.append(above);
        covered += fittingRowHeight(above);
    }
    for (int below = row + 1, covered = 0; below < itemCount() && covered < reach; ++below) {
        rows.append(below);
        covered += fittingRowHeight(below);
    }
    return fitRows(rows);
}

void CollectionListControllerBase::reloadHeights() {
    const int width = viewport()->width();
    if (width == lastTableViewWidth_) {
        return;
    }
    lastTableViewWidth_ = width;
    AppLoggers::collection().debug("Updating row heights");
    std::fill(fittedHeights_.begin(), fittedHeights_.end(), 0);
    if (fitVisibleRows()) {
        updateGeometries();
    }
}

int CollectionListControllerBase::rowOfIdentifier(const QString& identifier) const {
    // The selection the list itself just wrote comes back here: answer it without scanning every row.
    if (const int selected = selectedRow(); selected >= 0 && rowIdentifier(selected) == identifier) {
        return selected;
    }
    return shownIdentifiers_->rowOf(identifier);
}

void CollectionListControllerBase::syncSelectionFromBinding() {
    syncSelection(isScrollingToSelection());
}

void CollectionListControllerBase::syncSelection(bool scrollToSelection) {
    const std::optional<QString> selected = selection_.get();
    if (!selected) {
        return;
    }
    const int row = rowOfIdentifier(*selected);
    if (row < 0) {
        return;
    }
    if (selectedRow() != row) {
        selectOnlyRow(row);
    }
    if (scrollToSelection) {
        scrollTo(model_->index(row), QAbstractItemView::EnsureVisible);
    }
}

void CollectionListControllerBase::selectionDidChange() {
    const int row = selectedRow();
    if (suppressSelection_ != 0 || row < 0) {
        return;
    }
    const QString identifier = rowIdentifier(row);
    if (selection_.get() != identifier) {
        selection_.set(identifier);
    }
}

void CollectionListControllerBase::handleDoubleAction() {
    if (const int row = selectedRow(); row >= 0) {
        runDoubleClick(row);
    }
}

void CollectionListControllerBase::playRow(int row) {
    if (row < 0 || row >= itemCount()) {
        return;
    }
    TableCell cell;
    configureCell(cell, row, CellConfiguration::regular);
    if (cell.showNowPlayingIndicator) {
        pause_();
        return;
    }
    selectOnlyRow(row);
    runDoubleClick(row);
}

void CollectionListControllerBase::focusWasGained(bool byUser) {
    if (!byUser || !focusedTag_ || focusedTag_->get() == tag_) {
        return;
    }
    AnimationContext::runGroup({paneMoveDuration, true}, [&] { focusedTag_->set(tag_); });
}

void CollectionListControllerBase::syncFirstResponder() {
    if (focusedTag_ && focusedTag_->get() == tag_ && !hasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
}

void CollectionListControllerBase::reloadVisibleRowsNow() {
    const auto [first, last] = visibleRows();
    model_->reloadRows(first, last);
}

// Every row is read again in place, so the selection stays, and the row at the top stays there whatever
// height the new settings give the rows.
void CollectionListControllerBase::reloadAppearance() {
    applyTableStyle();
    const int topRow = rowAt(0);
    const int intoTopRow = topRow >= 0 ? -rowViewportPosition(topRow) : 0;
    std::fill(fittedHeights_.begin(), fittedHeights_.end(), 0);
    estimateRowHeights();
    model_->reloadRows(0, itemCount() - 1);
    if (topRow >= 0) {
        fitRowsAround(topRow);
        updateGeometries();
        verticalScrollBar()->setValue(verticalHeader()->sectionPosition(topRow) +
                                      std::min(intoTopRow, rowHeight(topRow) - 1));
    }
    syncSelection(isScrollingToSelection());
}

void CollectionListControllerBase::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.isValid() && fitRowsAround(index.row())) {
        updateGeometries();
    }
    KeyHandlingTableView::scrollTo(index, hint);
}

void CollectionListControllerBase::paintEvent(QPaintEvent* event) {
    fitVisibleRows();
    KeyHandlingTableView::paintEvent(event);
}

void CollectionListControllerBase::resizeEvent(QResizeEvent* event) {
    KeyHandlingTableView::resizeEvent(event);
    if (isVisible()) {
        heightsReload_.start();
    }
}

// The table sets its viewport margins for its headers on every geometry update, which would give the room
// kept for the player bar back to the rows; setting it again makes a nested update that keeps it.
void CollectionListControllerBase::updateGeometries() {
    KeyHandlingTableView::updateGeometries();
    const QMargins margins = viewportMargins();
    if (margins.bottom() != bottomContentInset) {
        setViewportMargins(margins.left(), margins.top(), margins.right(), bottomContentInset);
    }
}

void CollectionListControllerBase::showEvent(QShowEvent* event) {
    KeyHandlingTableView::showEvent(event);
    if (!restoredScrollPosition_) {
        restoredScrollPosition_ = true;
        restoreScrollPosition();
        if (isScrollingToSelection()) {
            syncSelectionFromBinding();
        }
    }
    if (task_) {
        task_();
    }
    syncFirstResponder();
}

void CollectionListControllerBase::hideEvent(QHideEvent* event) {
    if (autosaveName_) {
        savedScrollPositions().insert(*autosaveName_, verticalScrollBar()->value());
    }
    KeyHandlingTableView::hideEvent(event);
}

// Only a list that shows a selection returns to where it was; others start at the top.
void CollectionListControllerBase::restoreScrollPosition() {
    if (!autosaveName_ || selectedRow() < 0) {
        return;
    }
    const auto saved = savedScrollPositions().constFind(*autosaveName_);
    if (saved == savedScrollPositions().cend()) {
        return;
    }
    updateGeometries();
    verticalScrollBar()->setValue(*saved);
}

void CollectionListControllerBase::beginScrollToSelection() {
    ++scrollToSelectionDepth();
}

// The observers' deliveries of what was set are queued already, so they run before this.
void CollectionListControllerBase::endScrollToSelection() {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { --scrollToSelectionDepth(); }, Qt::QueuedConnection);
}

bool CollectionListControllerBase::isScrollingToSelection() {
    return scrollToSelectionDepth() > 0;
}

void CollectionListControllerBase::forgetSavedScrollPositions() {
    savedScrollPositions().clear();
}

} // namespace Marrowbell
