#include "Lists/KeyHandlingTableView.h"

#include "Lists/SelectionEmphasis.h"
#include "Lists/TableCellPainter.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

namespace Marrowbell {

KeyHandlingTableView::KeyHandlingTableView(QWidget* parent)
    : QTableView(parent) {
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    // One height for every row: a list of any length lays out at once.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &KeyHandlingTableView::showContextMenu);
    emphasizeSelectionOnlyWhileFocused(*this);
}

void KeyHandlingTableView::setCellPainter(TableCellPainter* painter) {
    painter_ = painter;
    setItemDelegate(painter);
}

int KeyHandlingTableView::selectedRow() const {
    if (!selectionModel()) {
        return -1;
    }
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void KeyHandlingTableView::selectOnlyRow(int row) {
    if (!model() || !selectionModel()) {
        return;
    }
    selectionModel()->setCurrentIndex(model()->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::pair<int, int> KeyHandlingTableView::visibleRows() const {
    const int rowCount = model() ? model()->rowCount() : 0;
    const int first = rowAt(0);
    if (first < 0 || rowCount == 0) {
        return {-1, -1};
    }
    const int last = rowAt(viewport()->height() - 1);
    return {first, last < 0 ? rowCount - 1 : last};
}

void KeyHandlingTableView::keyboardSearch(const QString& search) {
    sinceTyped_.start();
    QTableView::keyboardSearch(search);
}

// Typing goes on as long as the keys come closer together than the platform's key input interval.
bool KeyHandlingTableView::isTypeSelecting() const {
    return sinceTyped_.isValid() && sinceTyped_.elapsed() <= QApplication::keyboardInputInterval();
}

bool KeyHandlingTableView::event(QEvent* event) {
    // Claimed before the window's shortcuts (Space plays or pauses), so the space reaches the typed title.
    if (event->type() == QEvent::ShortcutOverride && isTypeSelecting()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QTableView::event(event);
}

void KeyHandlingTableView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->text().size() == 1) {
            Q_EMIT doubleActionRequested();
            return;
        }
        break;
    case Qt::Key_Left:
        Q_EMIT leftKeyPressed();
        return;
    case Qt::Key_Right:
        Q_EMIT rightKeyPressed();
        return;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

// A table takes Home and End along the current row, which in a one-column list goes nowhere; a list takes
// them to its first and last row.
QModelIndex KeyHandlingTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveHome || action == MoveEnd) {
        modifiers |= Qt::ControlModifier;
    }
    return QTableView::moveCursor(action, modifiers);
}

void KeyHandlingTableView::mousePressEvent(QMouseEvent* event) {
    ++pressesSeen_;
    const QPoint position = event->position().toPoint();
    const QModelIndex index = indexAt(position);
    if (event->button() == Qt::LeftButton && painter_ && index.isValid() &&
        painter_->hoveredRow() == index.row() && painter_->showsOverlayWhenHovered(index.row())) {
        Q_EMIT artworkOverlayClicked(index.row());
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    reportRowClick(*event, index);
}

void KeyHandlingTableView::reportRowClick(const QMouseEvent& event, const QModelIndex& index) {
    if (event.button() == Qt::LeftButton && selectedRow() != -1 && window()->isActiveWindow() &&
        index.isValid()) {
        Q_EMIT rowClicked();
    }
}

void KeyHandlingTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && painter_ &&
        painter_->hoveredRow() == index.row() && painter_->showsOverlayWhenHovered(index.row())) {
        // The overlay's first click already played or paused the row.
        event->accept();
        return;
    }
    const int pressesBefore = pressesSeen_;
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && index.isValid()) {
        Q_EMIT rowDoubleClicked(index.row());
    }
    // Qt delivers the second press of a double-click as the double-click alone (as a press only when it
    // lands on another row). It is a row click too, so the pod follows it wherever the first click's move
    // has taken it meanwhile.
    if (pressesSeen_ == pressesBefore) {
        reportRowClick(*event, index);
    }
}

void KeyHandlingTableView::mouseMoveEvent(QMouseEvent* event) {
    updateHover(event->position().toPoint());
    QTableView::mouseMoveEvent(event);
}

void KeyHandlingTableView::leaveEvent(QEvent* event) {
    setHoveredRow(-1);
    QTableView::leaveEvent(event);
}

void KeyHandlingTableView::updateHover(const QPoint& position) {
    if (!painter_) {
        return;
    }
    const QModelIndex index = indexAt(position);
    const bool over = index.isValid() && painter_->isOverArtwork(index.row(), visualRect(index), position);
    setHoveredRow(over ? index.row() : -1);
}

void KeyHandlingTableView::setHoveredRow(int row) {
    if (!painter_ || painter_->hoveredRow() == row) {
        return;
    }
    const int previous = painter_->hoveredRow();
    painter_->setHoveredRow(row);
    for (const int changed : {previous, row}) {
        if (changed >= 0 && model()) {
            viewport()->update(visualRect(model()->index(changed, 0)));
        }
    }
}

void KeyHandlingTableView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    Q_EMIT focusGained(reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                       reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason);
}

QItemSelectionModel::SelectionFlags KeyHandlingTableView::selectionCommand(const QModelIndex& index,
                                                                           const QEvent* event) const {
    // A list never loses its selection, neither to a click below its rows nor to a Ctrl-click.
    if (!index.isValid()) {
        return QItemSelectionModel::NoUpdate;
    }
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle) &&
        index.isValid() && selectionModel()->isSelected(index)) {
        return QItemSelectionModel::NoUpdate;
    }
    return command;
}

void KeyHandlingTableView::showContextMenu(const QPoint& position) {
    if (!menuProvider_) {
        return;
    }
    if (const std::unique_ptr<QMenu> menu = menuProvider_(indexAt(position).row())) {
        menu->exec(viewport()->mapToGlobal(position));
    }
}

} // namespace Marrowbell
