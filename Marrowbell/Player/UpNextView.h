#pragma once

#include <QListWidget>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class QLabel;

namespace MusicKit {
class ApplicationMusicPlayer;
struct MusicPlayerQueueEntry;
} // namespace MusicKit

namespace Marrowbell {

class MainViewModel;
class ObservationTrackingToken;

/// The up-next list: the central model's queue from the playing entry onward, one row per entry with a
/// small artwork and the title. A double-click or Return makes a row's entry current; Delete (or the context
/// menu) removes the selected rows and a drag reorders them, except the first row, the playing entry, which
/// stays first. Edits go to the player's queue by entry id, then the model refreshes. An empty queue shows a
/// placeholder. GUI thread.
class UpNextView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int listWidth = 260;
    static constexpr int listHeight = 320;
    static constexpr int artworkSize = 24;

    UpNextView(MainViewModel& model, MusicKit::ApplicationMusicPlayer& player, QWidget* parent = nullptr);
    ~UpNextView() override;

    QListWidget* list() const { return list_; }
    QLabel* placeholder() const { return placeholder_; }
    /// The entry ids of the rows, in shown order.
    std::vector<std::string> rowIDs() const;

    /// The list's actions, by row.
    void deleteRows(const std::vector<int>& rows);
    void moveRows(const std::vector<int>& rows, int destination);
    void jumpToRow(int row);

private:
    void rebuild();
    QWidget* makeRow(const MusicKit::MusicPlayerQueueEntry& entry);
    std::vector<int> selectedRows() const;

    MainViewModel& model_;
    MusicKit::ApplicationMusicPlayer& player_;
    QListWidget* list_;
    QLabel* placeholder_;
    std::shared_ptr<ObservationTrackingToken> queueToken_;
};

} // namespace Marrowbell
