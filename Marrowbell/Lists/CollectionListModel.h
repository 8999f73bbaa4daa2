#pragma once

#include <QAbstractListModel>
#include <functional>

namespace Marrowbell {

/// The rows of one list for Qt's views: their count, as display text their titles (which type-select
/// searches) and, for a screen reader, what else they show. The content of a row is painted from the list
/// itself, not read from here. GUI thread only.
class CollectionListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    CollectionListModel(std::function<int()> rowCount, std::function<QString(int row)> title,
                        std::function<QString(int row)> description, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    /// Runs `replaceRows`, which replaces the list, between the reset notifications: views forget every row
    /// and read them again.
    void reloadAll(const std::function<void()>& replaceRows);
    /// The content of rows `first` to `last` changed: views repaint them.
    void reloadRows(int first, int last);

private:
    std::function<int()> rowCount_;
    std::function<QString(int)> title_;
    std::function<QString(int)> description_;
};

} // namespace Marrowbell
