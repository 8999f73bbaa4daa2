#include "Lists/CollectionListModel.h"

namespace Marrowbell {

CollectionListModel::CollectionListModel(std::function<int()> rowCount, std::function<QString(int)> title,
                                         std::function<QString(int)> description, QObject* parent)
    : QAbstractListModel(parent)
    , rowCount_(std::move(rowCount))
    , title_(std::move(title))
    , description_(std::move(description)) {}

int CollectionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_();
}

QVariant CollectionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount_()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return title_(index.row());
    case Qt::AccessibleDescriptionRole:
        return description_(index.row());
    default:
        return {};
    }
}

void CollectionListModel::reloadAll(const std::function<void()>& replaceRows) {
    beginResetModel();
    replaceRows();
    endResetModel();
}

void CollectionListModel::reloadRows(int first, int last) {
    if (first >= 0 && last >= first) {
        Q_EMIT dataChanged(index(first), index(last));
    }
}

} // namespace Marrowbell
