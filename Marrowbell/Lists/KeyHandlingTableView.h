#pragma once

#include <QElapsedTimer>
#include <QMenu>
#include <QTableView>
#include <functional>
#include <memory>

namespace Marrowbell {

class TableCellPainter;

/// The table of every list: one column of TableCell rows painted by a TableCellPainter, without header or
/// editing. It keeps a list's keys: arrows, Page Up and Page Down, Home and End to the first and last row,
/// and typing a row's title selects it (a space typed then belongs to the title). Tab and Shift+Tab move the
/// focus to the next or previous widget. Return and Enter act as a double-click, Left and Right are handed to
/// the pod, a row click in the active window is reported, gaining focus is reported with whether the user
/// caused it, and the context menu comes from a provider. The mouse over a row's artwork shows its play/pause
/// overlay; a click on the shown overlay is reported instead of selecting. GUI thread only.
class KeyHandlingTableView : public QTableView {
    Q_OBJECT

public:
    /// Builds the menu of the clicked row (-1 when the click hit no row); nullptr for no menu.
    using MenuProvider = std::function<std::unique_ptr<QMenu>(int row)>;

    explicit KeyHandlingTableView(QWidget* parent = nullptr);

    /// Paints the rows and answers the artwork hit tests; owned by the table.
    void setCellPainter(TableCellPainter* painter);
    TableCellPainter* cellPainter() const { return painter_; }

    void setMenuProvider(MenuProvider provider) { menuProvider_ = std::move(provider); }

    /// The selected row, -1 when none.
    int selectedRow() const;
    /// Selects `row` alone, without reporting anything beyond the selection model's own signals.
    void selectOnlyRow(int row);
    /// The first and last row intersecting the visible area; {-1, -1} when no row is visible.
    std::pair<int, int> visibleRows() const;

    void keyboardSearch(const QString& search) override;

Q_SIGNALS:
    /// Return or Enter was pressed.
    void doubleActionRequested();
    /// A row was double-clicked.
    void rowDoubleClicked(int row);
    void leftKeyPressed();
    void rightKeyPressed();
    /// A click (either click of a double-click) landed on a row while the table's window was active, and left
    /// a row selected.
    void rowClicked();
    /// The click on `row`'s shown play/pause overlay.
    void artworkOverlayClicked(int row);
    /// The table took the keyboard focus; `byUser` when a click, Tab or a shortcut moved it here.
    void focusGained(bool byUser);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    void updateHover(const QPoint& position);
    void setHoveredRow(int row);
    void reportRowClick(const QMouseEvent& event, const QModelIndex& index);
    void showContextMenu(const QPoint& position);
    bool isTypeSelecting() const;

    TableCellPainter* painter_ = nullptr;
    MenuProvider menuProvider_;
    int pressesSeen_ = 0;
    QElapsedTimer sinceTyped_;
};

} // namespace Marrowbell
