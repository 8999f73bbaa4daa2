#pragma once

#include "MusicKit/MusicPlayerQueueEntry.h"

#include <QObject>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace MusicKit {

/// The application player's queue: its entries in play order and the current one. Edits keep the
/// current entry where they can (removing it makes the entry after it current). objectWillChange()
/// is emitted before every change, on the GUI thread, which is the only thread to use it from.
class MusicPlayerQueue : public QObject {
    Q_OBJECT
public:
    explicit MusicPlayerQueue(QObject* parent = nullptr)
        : QObject(parent) {}

    const std::vector<MusicPlayerQueueEntry>& entries() const { return entries_; }
    /// Absent for an empty queue.
    std::optional<MusicPlayerQueueEntry> currentEntry() const;
    std::optional<std::size_t> currentIndex() const;
    std::optional<std::size_t> indexOf(const std::string& entryID) const;

    /// Makes the entry with that id current; the player moves to it. Unknown ids change nothing.
    void setCurrentEntry(const std::string& entryID);
    /// Replaces the entries, keeping the current one when it is among them (else the first).
    void setEntries(std::vector<MusicPlayerQueueEntry> entries);
    /// Inserts entries before `position` (clamped to the end); they get new ids.
    void insert(std::vector<MusicPlayerQueueEntry> entries, std::size_t position);
    /// Removes the entries at these offsets; offsets past the end are ignored.
    void remove(const std::vector<std::size_t>& offsets);
    /// Moves the entries at these offsets, in their order, to before `destination`, an offset
    /// counted before the move (a list's usual move).
    void move(const std::vector<std::size_t>& offsets, std::size_t destination);

    /// A new entry for a song or a station, with a new unique id.
    static MusicPlayerQueueEntry makeEntry(const Song& song);
    static MusicPlayerQueueEntry makeEntry(const Station& station);

Q_SIGNALS:
    void objectWillChange();

private:
    friend class ApplicationMusicPlayer;

    /// Replaces everything at once: the entries and the current entry's index.
    void reset(std::vector<MusicPlayerQueueEntry> entries, std::optional<std::size_t> current);
    /// Puts the entries in a random order; the current entry goes first when `keepCurrentFirst`,
    /// else the new first entry becomes current. Remembers the order for unshuffle().
    void shuffle(bool keepCurrentFirst);
    /// Back to the order the entries had before shuffle(); entries added since go last. With
    /// `restoreCurrent`, the entry that was current before shuffle() is current again.
    void unshuffle(bool restoreCurrent);
    void setCurrentIndex(std::optional<std::size_t> index);

    std::vector<MusicPlayerQueueEntry> entries_;
    std::optional<std::string> currentID_;
    std::vector<std::string> unshuffledOrder_;
    std::optional<std::string> unshuffledCurrentID_;
    /// The player's reaction to a new current entry (or none), run after the change.
    std::function<void()> currentEntryDidChange_;
};

} // namespace MusicKit
