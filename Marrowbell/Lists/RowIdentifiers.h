#pragma once

#include <QHash>
#include <QString>
#include <vector>

namespace Marrowbell {

/// The identifiers of a list's rows, in row order, with the row of each: finding the row of an identifier
/// costs the same in a list of any length. Immutable once made, so a list and a worker preparing its next
/// rows may read one at the same time. Building one is meant for a worker thread.
class RowIdentifiers {
public:
    RowIdentifiers() = default;
    explicit RowIdentifiers(std::vector<QString> identifiers);

    int count() const { return static_cast<int>(identifiers_.size()); }
    /// The identifier of `row`; empty outside the rows.
    QString at(int row) const;
    /// The first row of `identifier`; -1 when no row has it.
    int rowOf(const QString& identifier) const;

    bool operator==(const RowIdentifiers& other) const { return identifiers_ == other.identifiers_; }

private:
    std::vector<QString> identifiers_;
    QHash<QString, int> rows_;
};

} // namespace Marrowbell
