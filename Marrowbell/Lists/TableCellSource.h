#pragma once

#include "Lists/TableCell.h"

#include <QString>

namespace Marrowbell {

/// What the row painter asks of a list: a row's content, its height and its item's identifier. GUI thread.
class TableCellSource {
public:
    virtual ~TableCellSource() = default;

    /// Fills a fresh `cell` with the item of `row`.
    virtual void configureCell(TableCell& cell, int row, CellConfiguration configuration) const = 0;
    virtual QString rowIdentifier(int row) const = 0;
    /// The height that fits the row's content at the list's current width.
    virtual int fittingRowHeight(int row) const = 0;
};

} // namespace Marrowbell
