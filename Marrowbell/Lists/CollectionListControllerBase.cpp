#include "Lists/CollectionListControllerBase.h"

#include "App/DisplaySettings.h"
#include "Lists/CollectionListModel.h"
#include "Lists/TableCellPainter.h"
#include "Observation/AnimationContext.h"
#include "Observation/ObservationTracking.h"
#include "Platform/AppNotifications.h"

#include <MusicKit/ApplicationMusicPlayer.h>
#include <QCoreApplication>
#include <QHash>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

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
    , model_(new CollectionListModel([this] { return static_cast<int>(displayedItemIDs_.size()); },
                                     [this](int row) { return itemTitle(row); }, this))
    , painter_(new TableCellPainter(*this, environment.artwork, environment.clock, *this)) {
    setObjectName(autosaveName_.value_or(QString()));
    setCellPainter(painter_);
    setModel(model_);
    setMenuProvider([this](int row) { return row < 0 ? nullptr : menuForItem(row); });

    for (QTimer* reload : {&visibleRowsReload_, &appearanceReload_}) {
        reload->setSingleShot(true);
        reload->setInterval(reloadCoalescingMilliseconds);
    }
    connect(&visibleRowsReload_, &QTimer::timeout, this, &CollectionListControllerBase::reloadVisibleRowsNow);
    connect(&appearanceReload_, &QTimer::timeout, this, &CollectionListControllerBase::reloadAppearance);

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
    reloadAllRows(std::move(identifiers), [] {});
}

QString CollectionListControllerBase::rowIdentifier(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < displayedItemIDs_.size()
               ? displayedItemIDs_[static_cast<std::size_t>(row)]
               : QString();
}

void CollectionListControllerBase::reloadAllRows(std::vector<QString> identifiers,
                                                 const std::function<void()>& replaceItems) {
    ++suppressSelection_;
    model_->reloadAll([&] {
        replaceItems();
        displayedItemIDs_ = std::move(identifiers);
    });
    applyRowHeight();
    --suppressSelection_;
    syncSelectionFromBinding();
}

void CollectionListControllerBase::reloadRows(const std::vector<int>& rows) {
    for (const int row : rows) {
        model_->reloadRows(row, row);
    }
}

void CollectionListControllerBase::applyTableStyle() {
    const bool alternating = DisplaySettings::useAlternatingRowColors(environment_.defaults);
    setAlternatingRowColors(alternating);
    setShowGrid(!alternating);
    setGridStyle(Qt::SolidLine);
}

void CollectionListControllerBase::applyRowHeight() {
    TableCell measured;
    bool withSubtitle = false;
    const int sample = std::min(itemCount(), measuredRowSample);
    for (int row = 0; row < sample; ++row) {
        TableCell cell;
        configureCell(cell, row, CellConfiguration::preview);
        withSubtitle = withSubtitle || !cell.subtitle.isEmpty();
        measured = cell;
    }
    if (sample == 0) {
        measured.refreshAppearance(environment_.defaults);
    }
    const int height =
        TableCellLayout::uniformRowHeight(measured, measured.titleFont(font()), font(), withSubtitle);
    painter_->setRowHeight(height);
    verticalHeader()->setDefaultSectionSize(height);
}

int CollectionListControllerBase::rowOfIdentifier(const QString& identifier) const {
    // The selection the list itself just wrote comes back here: answer it without scanning every row.
    if (const int selected = selectedRow(); selected >= 0 && rowIdentifier(selected) == identifier) {
        return selected;
    }
    const auto found = std::find(displayedItemIDs_.cbegin(), displayedItemIDs_.cend(), identifier);
    return found == displayedItemIDs_.cend() ? -1 : static_cast<int>(found - displayedItemIDs_.cbegin());
}

void CollectionListControllerBase::syncSelectionFromBinding() {
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
    if (scrollToSelectionDepth() > 0) {
        scrollSelectionIntoView(row);
    }
}

// The table sets the viewport's margins for its headers alone, so the room under the last row is made in
// the scroll range.
void CollectionListControllerBase::updateGeometries() {
    KeyHandlingTableView::updateGeometries();
    const int contentHeight = verticalHeader()->length() + bottomContentInset;
    verticalScrollBar()->setRange(0, std::max(0, contentHeight - viewport()->height()));
}

// Brought into view at the bottom edge, the row would stay hidden behind the player bar.
void CollectionListControllerBase::scrollSelectionIntoView(int row) {
    const QModelIndex index = model_->index(row);
    scrollTo(index, QAbstractItemView::EnsureVisible);
    if (visualRect(index).bottom() > viewport()->height() - bottomContentInset) {
        scrollTo(index, QAbstractItemView::PositionAtCenter);
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

void CollectionListControllerBase::reloadAppearance() {
    applyTableStyle();
    reloadAllRows(displayedItemIDs_, [] {});
}

void CollectionListControllerBase::showEvent(QShowEvent* event) {
    KeyHandlingTableView::showEvent(event);
    if (!restoredScrollPosition_) {
        restoredScrollPosition_ = true;
        restoreScrollPosition();
        if (scrollToSelectionDepth() > 0) {
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

void CollectionListControllerBase::forgetSavedScrollPositions() {
    savedScrollPositions().clear();
}

} // namespace Marrowbell
