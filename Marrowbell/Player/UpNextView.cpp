#include "Player/UpNextView.h"

#include "Artwork/ArtworkImageCache.h"
#include "Artwork/ArtworkView.h"
#include "Lists/SelectionEmphasis.h"
#include "MainWindow/PanelScrollBar.h"
#include "Model/MainViewModel.h"
#include "Observation/ObservationTracking.h"
#include "Platform/AccessibleNames.h"
#include "Player/UpNextEdits.h"

#include <MarrowbellCore/ItemViews/QueueEntryPlayback.h>
#include <MusicKit/ApplicationMusicPlayer.h>
#include <QAction>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace Marrowbell {
namespace {

constexpr int entryIDRole = Qt::UserRole;
constexpr int rowMargin = 4;
constexpr int rowSpacing = 8;
// A title ends in an ellipsis where it would run under the scroll bar; nothing scrolls sideways.
constexpr int titleWidth =
    UpNextView::listWidth - PanelScrollBar::width - 2 * rowMargin - UpNextView::artworkSize - rowSpacing;

/// The list widget's own drop would move its items; here a drop only reports the rows and where they
/// go, and the rows follow the player's queue once the model has refreshed.
class UpNextList final : public QListWidget {
public:
    using MoveHandler = std::function<void(const std::vector<int>& rows, int destination)>;

    UpNextList(MoveHandler onMove, QWidget* parent)
        : QListWidget(parent)
        , onMove_(std::move(onMove)) {}

protected:
    void dropEvent(QDropEvent* event) override {
        if (event->source() != this) {
            event->ignore();
            return;
        }
        const QModelIndex target = indexAt(event->position().toPoint());
        int destination = count();
        if (target.isValid()) {
            destination = target.row() + (dropIndicatorPosition() == BelowItem ? 1 : 0);
        }
        std::vector<int> rows;
        for (const QModelIndex& index : selectedIndexes()) {
            rows.push_back(index.row());
        }
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        onMove_(rows, destination);
    }

private:
    MoveHandler onMove_;
};

} // namespace

UpNextView::UpNextView(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , player_(player)
    , list_(new UpNextList(
          [this](const std::vector<int>& rows, int destination) { moveRows(rows, destination); }, this))
    , placeholder_(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    list_->setFixedSize(listWidth, listHeight);
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    list_->setFrameShape(QFrame::NoFrame);
    list_->viewport()->setAutoFillBackground(false);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PanelScrollBar::apply(*list_);
    emphasizeSelectionOnlyWhileFocused(*list_);

    auto* remove = new QAction(tr("Delete"), list_);
    remove->setShortcuts({QKeySequence::Delete, QKeySequence(Qt::Key_Backspace)});
    remove->setShortcutContext(Qt::WidgetShortcut);
    list_->addAction(remove);
    connect(remove, &QAction::triggered, this, [this] { deleteRows(selectedRows()); });
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { jumpToRow(list_->row(item)); });
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* play = new QShortcut(QKeySequence(key), list_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(play, &QShortcut::activated, this, [this] { jumpToRow(list_->currentRow()); });
    }
    list_->setAccessibleName(AccessibleNames::upNext());

    placeholder_->setText(tr("<b>Up Next</b><br>You don't have any songs in the queue."));
    placeholder_->setAlignment(Qt::AlignCenter);
    placeholder_->setWordWrap(true);
    placeholder_->setGeometry(0, 0, listWidth, listHeight);
    placeholder_->setAttribute(Qt::WA_TransparentForMouseEvents);

    queueToken_ = ObservationTracking::observe(&model_, &MainViewModel::queue,
                                               [this](const auto&, const auto&) { rebuild(); });
    rebuild();
}

UpNextView::~UpNextView() = default;

std::vector<std::string> UpNextView::rowIDs() const {
    std::vector<std::string> ids;
    for (int row = 0; row < list_->count(); ++row) {
        ids.push_back(list_->item(row)->data(entryIDRole).toString().toStdString());
    }
    return ids;
}

void UpNextView::deleteRows(const std::vector<int>& rows) {
    if (UpNextEdits::remove(player_.queue(), rowIDs(), rows)) {
        model_.refreshPlayerState();
    }
}

void UpNextView::moveRows(const std::vector<int>& rows, int destination) {
    if (UpNextEdits::move(player_.queue(), rowIDs(), rows, destination)) {
        model_.refreshPlayerState();
    }
}

void UpNextView::jumpToRow(int row) {
    if (row >= 0 && row < list_->count()) {
        player_.queue().setCurrentEntry(list_->item(row)->data(entryIDRole).toString().toStdString());
    }
}

// The keyboard's place in the list stays on its entry, or on its row when the entry is gone, so that Down
// after a Delete goes on from there.
void UpNextView::rebuild() {
    const int current = list_->currentRow();
    const QVariant currentID = current >= 0 ? list_->item(current)->data(entryIDRole) : QVariant();
    list_->clear();
    const std::vector<MusicKit::MusicPlayerQueueEntry> entries = model_.queue.get();
    for (const MusicKit::MusicPlayerQueueEntry& entry : entries) {
        auto* item = new QListWidgetItem(list_);
        item->setData(entryIDRole, QString::fromStdString(entry.id));
        item->setToolTip(QString::fromStdString(entry.title));
        // The row's title is drawn by its widget; a screen reader reads it from the item.
        item->setData(Qt::AccessibleTextRole, QString::fromStdString(entry.title));
        const bool isPlayingRow = list_->count() == 1;
        if (isPlayingRow) {
            item->setFlags(item->flags() & ~(Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled));
        }
        QWidget* row = makeRow(entry);
        item->setSizeHint(row->sizeHint());
        list_->setItemWidget(item, row);
    }
    placeholder_->setVisible(entries.empty());
    placeholder_->raise();
    if (current >= 0 && list_->count() > 0) {
        const auto kept = std::ranges::find(entries, currentID.toString().toStdString(),
                                            &MusicKit::MusicPlayerQueueEntry::id);
        list_->setCurrentRow(kept != entries.end() ? static_cast<int>(kept - entries.begin())
                                                   : std::min(current, list_->count() - 1));
    }
}

QWidget* UpNextView::makeRow(const MusicKit::MusicPlayerQueueEntry& entry) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(rowMargin, 2, rowMargin, 2);
    layout->setSpacing(rowSpacing);
    auto* artwork = new ArtworkView(QSize(artworkSize, artworkSize), 4.0, false, row);
    // The key names the entry's item, so every rebuild finds the same cached picture.
    artwork->setArtwork(ArtworkImageCache::thumbnailURL(entry.artwork),
                        QString::fromStdString(MarrowbellCore::QueueEntryPlayback::songIDForArtwork(entry)));
    auto* title = new QLabel(row);
    QFont titleFont = title->font();
    titleFont.setPixelSize(12);
    title->setFont(titleFont);
    title->setText(
        title->fontMetrics().elidedText(QString::fromStdString(entry.title), Qt::ElideRight, titleWidth));
    layout->addWidget(artwork);
    layout->addWidget(title, 1);
    row->setAttribute(Qt::WA_TransparentForMouseEvents);
    return row;
}

std::vector<int> UpNextView::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace Marrowbell
