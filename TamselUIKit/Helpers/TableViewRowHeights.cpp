#include "TamselUIKit/TableViewRowHeights.h"

#include <QHeaderView>
#include <QTableView>

namespace TamselUIKit {

// Qt's views never animate a height change, so re-measuring is all there is to do.
void noteHeightOfRowsWithoutAnimation(QTableView& table, const QList<int>& rows) {
    const int rowCount = table.verticalHeader()->count();
    for (const int row : rows) {
        if (row >= 0 && row < rowCount) {
            table.resizeRowToContents(row);
        }
    }
}

} // namespace TamselUIKit
