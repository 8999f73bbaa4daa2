#include "MusicKit/MusicPlayerQueue.h"

#include <Foundation/UUID.h>
#include <algorithm>
#include <random>
#include <set>

namespace MusicKit {

std::optional<MusicPlayerQueueEntry> MusicPlayerQueue::currentEntry() const {
    const auto index = currentIndex();
    return index ? std::optional(entries_[*index]) : std::nullopt;
}

std::optional<std::size_t> MusicPlayerQueue::currentIndex() const {
    return currentID_ ? indexOf(*currentID_) : std::nullopt;
}

std::optional<std::size_t> MusicPlayerQueue::indexOf(const std::string& entryID) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const auto& entry) { return entry.id == entryID; });
    return found == entries_.end() ? std::nullopt
                                   : std::optional(static_cast<std::size_t>(found - entries_.begin()));
}

void MusicPlayerQueue::setCurrentEntry(const std::string& entryID) {
    if (!indexOf(entryID) || currentID_ == entryID) {
        return;
    }
    Q_EMIT objectWillChange();
    currentID_ = entryID;
    if (currentEntryDidChange_) {
        currentEntryDidChange_();
    }
}

void MusicPlayerQueue::setEntries(std::vector<MusicPlayerQueueEntry> entries) {
    const auto previous = currentID_;
    Q_EMIT objectWillChange();
    entries_ = std::move(entries);
    if (!currentID_ || !indexOf(*currentID_)) {
        currentID_ = entries_.empty() ? std::nullopt : std::optional(entries_.front().id);
    }
    if (previous != currentID_ && currentEntryDidChange_) {
        currentEntryDidChange_();
    }
}

void MusicPlayerQueue::insert(std::vector<MusicPlayerQueueEntry> entries, std::size_t position) {
    for (auto& entry : entries) {
        entry.id = Foundation::makeUUIDString();
    }
    auto updated = entries_;
    updated.insert(updated.begin() + static_cast<std::ptrdiff_t>(std::min(position, updated.size())),
                   entries.begin(), entries.end());
    setEntries(std::move(updated));
}

void MusicPlayerQueue::remove(const std::vector<std::size_t>& offsets) {
    const std::set<std::size_t> removed(offsets.begin(), offsets.end());
    const auto current = currentIndex();
    std::vector<MusicPlayerQueueEntry> kept;
    std::optional<std::string> successor;
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        if (!removed.contains(index)) {
            kept.push_back(entries_[index]);
            if (current && index > *current && !successor) {
                successor = entries_[index].id;
            }
        }
    }
    if (kept.size() == entries_.size()) {
        return;
    }
    Q_EMIT objectWillChange();
    const auto previous = currentID_;
    entries_ = std::move(kept);
    if (current && removed.contains(*current)) {
        // The entry after the removed current one plays next; past the end, the new last one.
        currentID_ = successor          ? successor
                     : entries_.empty() ? std::nullopt
                                        : std::optional(entries_.back().id);
    }
    if (previous != currentID_ && currentEntryDidChange_) {
        currentEntryDidChange_();
    }
}

void MusicPlayerQueue::move(const std::vector<std::size_t>& offsets, std::size_t destination) {
    const std::set<std::size_t> moved(offsets.begin(), offsets.end());
    std::vector<MusicPlayerQueueEntry> movedEntries;
    std::vector<MusicPlayerQueueEntry> rest;
    std::size_t insertAt = 0;
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        if (moved.contains(index)) {
            movedEntries.push_back(entries_[index]);
        } else {
            rest.push_back(entries_[index]);
            if (index < destination) {
                ++insertAt;
            }
        }
    }
    if (movedEntries.empty()) {
        return;
    }
    rest.insert(rest.begin() + static_cast<std::ptrdiff_t>(insertAt), movedEntries.begin(),
                movedEntries.end());
    Q_EMIT objectWillChange();
    entries_ = std::move(rest);
}

MusicPlayerQueueEntry MusicPlayerQueue::makeEntry(const Song& song) {
    return MusicPlayerQueueEntry{Foundation::makeUUIDString(), song.title,
                                 song.artistName.empty() ? std::nullopt : std::optional(song.artistName),
                                 song.artwork, song};
}

MusicPlayerQueueEntry MusicPlayerQueue::makeEntry(const Station& station) {
    return MusicPlayerQueueEntry{Foundation::makeUUIDString(), station.name, std::nullopt, station.artwork,
                                 station};
}

void MusicPlayerQueue::reset(std::vector<MusicPlayerQueueEntry> entries, std::optional<std::size_t> current) {
    Q_EMIT objectWillChange();
    entries_ = std::move(entries);
    unshuffledOrder_.clear();
    unshuffledCurrentID_.reset();
    currentID_ = current && *current < entries_.size() ? std::optional(entries_[*current].id) : std::nullopt;
}

void MusicPlayerQueue::shuffle(bool keepCurrentFirst) {
    if (entries_.empty()) {
        return;
    }
    Q_EMIT objectWillChange();
    unshuffledOrder_.clear();
    for (const auto& entry : entries_) {
        unshuffledOrder_.push_back(entry.id);
    }
    unshuffledCurrentID_ = currentID_;
    std::random_device seed;
    std::mt19937 random(seed());
    auto first = entries_.begin();
    if (const auto current = currentIndex(); keepCurrentFirst && current) {
        std::iter_swap(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(*current));
        ++first;
    }
    const std::vector<MusicPlayerQueueEntry> unshuffled(first, entries_.end());
    std::shuffle(first, entries_.end(), random);
    // A short queue comes out as it was often enough to look as if shuffle had done nothing.
    if (unshuffled.size() > 1 &&
        std::equal(first, entries_.end(), unshuffled.begin(), unshuffled.end(),
                   [](const auto& left, const auto& right) { return left.id == right.id; })) {
        std::rotate(first, first + 1, entries_.end());
    }
    if (!keepCurrentFirst) {
        currentID_ = entries_.front().id;
    }
}

void MusicPlayerQueue::unshuffle(bool restoreCurrent) {
    if (unshuffledOrder_.empty()) {
        return;
    }
    const auto rank = [this](const MusicPlayerQueueEntry& entry) {
        const auto found = std::find(unshuffledOrder_.begin(), unshuffledOrder_.end(), entry.id);
        return static_cast<std::size_t>(found - unshuffledOrder_.begin());
    };
    Q_EMIT objectWillChange();
    std::stable_sort(entries_.begin(), entries_.end(),
                     [&](const auto& left, const auto& right) { return rank(left) < rank(right); });
    if (restoreCurrent && unshuffledCurrentID_ && indexOf(*unshuffledCurrentID_)) {
        currentID_ = unshuffledCurrentID_;
    }
    unshuffledOrder_.clear();
    unshuffledCurrentID_.reset();
}

void MusicPlayerQueue::setCurrentIndex(std::optional<std::size_t> index) {
    const auto id = index && *index < entries_.size() ? std::optional(entries_[*index].id) : std::nullopt;
    if (id == currentID_) {
        return;
    }
    Q_EMIT objectWillChange();
    currentID_ = id;
}

} // namespace MusicKit
