#include "Search/SearchView.h"

#include "App/AppEnvironment.h"
#include "Artwork/ArtworkImageCache.h"
#include "Lists/SelectionEmphasis.h"
#include "MainWindow/AppModels.h"
#include "MainWindow/PanelScrollBar.h"
#include "MainWindow/ToolbarIcons.h"
#include "Observation/ObservationTracking.h"
#include "Search/SearchLayout.h"
#include "Search/SearchPicker.h"
#include "Search/SearchResultPlayback.h"
#include "Search/SearchResultsModel.h"
#include "Search/SearchRowDelegate.h"
#include "Search/SearchTask.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QToolButton>

namespace Marrowbell {
namespace {

constexpr double fieldFontScale = 1.4;
constexpr int listSideMargin = 6;
constexpr int fieldRowHeight = static_cast<int>(SearchLayout::fieldRowHeight);

} // namespace

SearchView::SearchView(AppModels& models, SearchViewModel& viewModel, const QString& catalogName,
                       QWidget* parent)
    : QWidget(parent)
    , models_(models)
    , viewModel_(viewModel)
    , fieldRow_(makeFieldRow(catalogName))
    , list_(new QListView(this))
    , results_(new SearchResultsModel(this))
    , task_(new SearchTask(models.environment.store(), models.environment.background(), *models.madeForYou,
                           *models.stations, this))
    , wantedHeight_(fieldRowHeight) {
    setObjectName(QStringLiteral("searchView"));
    list_->setModel(results_);
    list_->setItemDelegate(new SearchRowDelegate(ArtworkImageCache::shared(), list_));
    list_->setFrameShape(QFrame::NoFrame);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setUniformItemSizes(true);
    // The panel's own background shows through the list.
    list_->setStyleSheet(QStringLiteral("QListView { background: transparent; }"));
    list_->viewport()->setAutoFillBackground(false);
    PanelScrollBar::apply(*list_);
    emphasizeSelectionOnlyWhileFocused(*list_);
    list_->installEventFilter(this);
    field_->installEventFilter(this);

    connect(list_, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { activate(index.row()); });
    connect(field_, &QLineEdit::textChanged, this, &SearchView::startSearch);
    connect(task_, &SearchTask::resultsReady, this, &SearchView::applyResults);
    connect(picker_, &SearchPicker::chosen, this,
            [this](SearchPickerSelection selection) { viewModel_.selection.set(selection); });
    followViewModel();
}

SearchView::~SearchView() = default;

QWidget* SearchView::makeFieldRow(const QString& catalogName) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(14, 10, 14, 10);

    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * fieldFontScale);
    const int iconSize = QFontMetrics(titleFont).height();
    auto* icon = new QLabel(row);
    icon->setPixmap(ToolbarIcons::search(palette()).pixmap(iconSize, iconSize, QIcon::Disabled));
    layout->addWidget(icon);

    field_ = new QLineEdit(row);
    field_->setPlaceholderText(tr("Search"));
    field_->setAccessibleName(field_->placeholderText());
    field_->setFont(titleFont);
    field_->setFrame(false);
    field_->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    layout->addWidget(field_, 1);

    picker_ = new SearchPicker(catalogName, this, row);
    layout->addWidget(picker_);
    return row;
}

void SearchView::followViewModel() {
    picker_->setSelection(viewModel_.selection.get());
    nameResultList();
    tokens_.push_back(
        ObservationTracking::observe(&viewModel_, &SearchViewModel::selection,
                                     [this](SearchPickerSelection old, SearchPickerSelection now) {
                                         picker_->setSelection(now);
                                         nameResultList();
                                         if (old != now) {
                                             // The other source's results would be wrong under the new
                                             // picker; the height stays until the new search answers.
                                             results_->setSections({});
                                             startSearch();
                                         }
                                     }));
    tokens_.push_back(ObservationTracking::observe(&viewModel_, &SearchViewModel::generation,
                                                   [this](const auto&, const auto&) { resetOnShow(); }));
}

// The results are named after where they were searched, as the chosen picker button is.
void SearchView::nameResultList() {
    const SearchPickerSelection source = viewModel_.selection.get();
    list_->setAccessibleName(
        (source == SearchPickerSelection::library ? picker_->libraryButton() : picker_->catalogButton())
            ->text());
}

const std::vector<MarrowbellCore::SearchSection>& SearchView::sections() const {
    return results_->sections();
}

std::uint64_t SearchView::searchesStarted() const {
    return task_->searchesStarted();
}

QSize SearchView::sizeHint() const {
    return {fieldRow_->sizeHint().width(), wantedHeight_};
}

void SearchView::startSearch() {
    task_->start(field_->text(), viewModel_.selection.get());
}

void SearchView::applyResults(const std::vector<MarrowbellCore::SearchSection>& sections, double listHeight) {
    // A new search keeps the selected result selected when it is found again.
    const int selected = selectedRow();
    const std::optional<MarrowbellCore::SearchResult> kept =
        selected >= 0 ? std::optional(*results_->resultAt(selected)) : std::nullopt;
    results_->setSections(sections);
    if (kept) {
        for (int row = 0; row < results_->rowCount(); ++row) {
            if (const auto* result = results_->resultAt(row); result && *result == *kept) {
                selectRow(row);
                break;
            }
        }
    }
    wantedHeight_ = fieldRowHeight + static_cast<int>(listHeight);
    updateGeometry();
    Q_EMIT heightRequested(wantedHeight_);
}

void SearchView::focusField() {
    field_->setFocus(Qt::OtherFocusReason);
    field_->selectAll();
}

void SearchView::resetOnShow() {
    focusField();
    selectRow(-1);
    if (results_->rowCount() > 0) {
        list_->scrollToTop();
    }
}

bool SearchView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            Q_EMIT closeRequested();
            return true;
        }
        if (watched == field_ && handleFieldKey(key)) {
            return true;
        }
        if (watched == list_ && handleListKey(key)) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT closeRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool SearchView::handleFieldKey(int key) {
    if (key != Qt::Key_Down) {
        return false;
    }
    list_->setFocus();
    selectRow(results_->firstResultRow());
    return true;
}

// The list moves between results itself, so that a header row never takes the cursor.
bool SearchView::handleListKey(int key) {
    const int row = selectedRow();
    switch (key) {
    case Qt::Key_Up: {
        if (row == results_->firstResultRow()) {
            focusField();
            return true;
        }
        for (int previous = row - 1; previous >= 0; --previous) {
            if (results_->resultAt(previous)) {
                selectRow(previous);
                return true;
            }
        }
        return false;
    }
    case Qt::Key_Down:
        for (int next = row + 1; next < results_->rowCount(); ++next) {
            if (results_->resultAt(next)) {
                selectRow(next);
                return true;
            }
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (row < 0) {
            return false;
        }
        activate(row);
        return true;
    default:
        return false;
    }
}

void SearchView::selectRow(int row) {
    if (row < 0) {
        list_->selectionModel()->clear();
        return;
    }
    list_->setCurrentIndex(results_->index(row));
    list_->scrollTo(results_->index(row));
}

int SearchView::selectedRow() const {
    const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void SearchView::activate(int row) {
    const MarrowbellCore::SearchResult* result = results_->resultAt(row);
    if (!result) {
        return;
    }
    // The play outlives the panel, which closes at once.
    playSearchResult(*result, models_);
    Q_EMIT closeRequested();
}

void SearchView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fieldRow_->setGeometry(0, 0, width(), fieldRowHeight);
    const int padding = static_cast<int>(SearchLayout::listPadding);
    list_->setGeometry(listSideMargin, fieldRowHeight + padding / 2,
                       std::max(0, width() - 2 * listSideMargin),
                       std::max(0, height() - fieldRowHeight - padding));
}

} // namespace Marrowbell
