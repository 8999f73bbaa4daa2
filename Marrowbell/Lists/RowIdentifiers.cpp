#include "Lists/RowIdentifiers.h"

namespace Marrowbell {

RowIdentifiers::RowIdentifiers(std::vector<QString> identifiers)
    : identifiers_(std::move(identifiers)) {
    rows_.reserve(static_cast<qsizetype>(identifiers_.size()));
    // From the last row up, so that an identifier several rows share is found in the first of them.
    for (std::size_t row = identifiers_.size(); row-- > 0;) {
        rows_.insert(identifiers_[row], static_cast<int>(row));
    }
}

QString RowIdentifiers::at(int row) const {
    return row >= 0 && row < count() ? identifiers_[static_cast<std::size_t>(row)] : QString();
}

int RowIdentifiers::rowOf(const QString& identifier) const {
    return rows_.value(identifier, -1);
}

} // namespace Marrowbell
