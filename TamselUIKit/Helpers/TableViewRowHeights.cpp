#include "TamselUIKit/TableViewRowHeights.h"

#include <QHeaderView>
#include <QTableView>

namespace TamselUIKit {

// Qt's views never animate a height change, so re-measuring is all there is to do. A header that may paint
// works out where each resized row now sits on screen, which walks every row above it; with its updates off
// it only records the new sizes, and the table, told of each resize, lays out once on its next turn.
void noteHeightOfRowsWithoutAnimation(QTableView& table, const QList<int>& rows) {
    QHeaderView& header = *table.verticalHeader();
    const int rowCount = header.count();
    const bool updatesWereEnabled = header.updatesEnabled();
    header.setUpdatesEnabled(false);
    for (const int row : rows) {
        if (row >= 0 && row < rowCount) {
            table.resizeRowToContents(row);
        }
    }
    header.setUpdatesEnabled(updatesWereEnabled);
}

} // namespace TamselUIKit
