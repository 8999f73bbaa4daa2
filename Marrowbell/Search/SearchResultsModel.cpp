#include "Search/SearchResultsModel.h"

#include "Navigation/ContainerKind.h"

namespace Marrowbell {
namespace {

using Case = MarrowbellCore::SearchResult::Case;

// Rows show only a name, and the section header above them the kind: a screen reader reads it with each row.
QString kindWord(Case resultCase) {
    switch (resultCase) {
    case Case::playlist:
    case Case::catalogPlaylist:
        return QObject::tr("Playlist");
    case Case::album:
    case Case::catalogAlbum:
        return QObject::tr("Album");
    case Case::artist:
    case Case::catalogArtist:
        return QObject::tr("Artist");
    case Case::song:
    case Case::catalogSong:
        return QObject::tr("Song");
    case Case::madeForYou:
        return containerKindTitle(ContainerKind::madeForYou);
    case Case::station:
        return QObject::tr("Station");
    }
    return {};
}

} // namespace

SearchResultsModel::SearchResultsModel(QObject* parent)
    : QAbstractListModel(parent) {}

void SearchResultsModel::setSections(std::vector<MarrowbellCore::SearchSection> sections) {
    beginResetModel();
    sections_ = std::move(sections);
    rows_.clear();
    for (std::size_t section = 0; section < sections_.size(); ++section) {
        rows_.push_back({section, std::nullopt});
        for (std::size_t result = 0; result < sections_[section].results.size(); ++result) {
            rows_.push_back({section, result});
        }
    }
    endResetModel();
}

const MarrowbellCore::SearchResult* SearchResultsModel::resultAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size() || !rows_[row].result) {
        return nullptr;
    }
    return &sections_[rows_[row].section].results[*rows_[row].result];
}

int SearchResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant SearchResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.result ? QString::fromStdString(sections_[row.section].results[*row.result].name())
                          : QString::fromStdString(sections_[row.section].name);
    case Qt::AccessibleDescriptionRole:
        return row.result ? kindWord(sections_[row.section].results[*row.result].resultCase()) : QString();
    case isHeaderRole:
        return !row.result.has_value();
    default:
        return {};
    }
}

Qt::ItemFlags SearchResultsModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return resultAt(index.row()) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace Marrowbell
