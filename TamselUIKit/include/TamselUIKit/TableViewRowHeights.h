#pragma once

#include <QList>

class QTableView;

namespace TamselUIKit {

/// Re-measures the given rows from their delegate's size hints after their content changed, so they take
/// their new heights at once; rows outside the table are skipped. GUI thread.
void noteHeightOfRowsWithoutAnimation(QTableView& table, const QList<int>& rows);

} // namespace TamselUIKit
