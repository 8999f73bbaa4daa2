#pragma once

#include <QList>

class QTableView;

namespace TamselUIKit {

/// Re-measures the given rows from the table's size hints (`sizeHintForRow`) after their content or width
/// changed, so they take their new heights at once; rows outside the table are skipped. The cost grows with
/// the rows given, not with the table's length, so a list of any size can re-measure the rows it shows. GUI
/// thread.
void noteHeightOfRowsWithoutAnimation(QTableView& table, const QList<int>& rows);

} // namespace TamselUIKit
