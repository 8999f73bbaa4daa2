#pragma once

#include <MarrowbellCore/ItemViews/SearchSection.h>
#include <QAbstractListModel>
#include <optional>
#include <vector>

namespace Marrowbell {

/// The search panel's one flat list: for each section a header row (neither enabled nor selectable, so the
/// cursor never rests on it) followed by one row per result. GUI thread only.
class SearchResultsModel final : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role { isHeaderRole = Qt::UserRole + 1 };

    explicit SearchResultsModel(QObject* parent = nullptr);

    /// Replaces every row.
    void setSections(std::vector<MarrowbellCore::SearchSection> sections);
    const std::vector<MarrowbellCore::SearchSection>& sections() const { return sections_; }

    /// The result on `row`; nothing for a header row or a row out of range.
    const MarrowbellCore::SearchResult* resultAt(int row) const;
    /// The row of the first section's first result, or -1 when there is none.
    int firstResultRow() const { return sections_.empty() ? -1 : 1; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row {
        std::size_t section;
        /// Nothing for the section's header.
        std::optional<std::size_t> result;
    };

    std::vector<MarrowbellCore::SearchSection> sections_;
    std::vector<Row> rows_;
};

} // namespace Marrowbell
