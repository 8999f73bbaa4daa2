#pragma once

#include "MarrowbellCore/Store/LocalAlbum.h"
#include "MarrowbellCore/Store/LocalArtist.h"
#include "MarrowbellCore/Store/LocalPlaylist.h"
#include "MarrowbellCore/Store/LocalSong.h"
#include "MarrowbellCore/Store/SortDescriptor.h"

#include <compare>
#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

namespace MarrowbellCore {

/// Records in one order, read like a constant vector. The records lie in a table that every other order of
/// them shares, so that putting a long list in a new order copies none of them; the table lives as long as
/// anything holds it. Immutable, so it may be read from several threads at once.
template <class Record> class SortedRecords {
public:
    using Table = std::shared_ptr<const std::vector<Record>>;
    using value_type = Record;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using const_reference = const Record&;

    class const_iterator {
    public:
        using iterator_concept = std::random_access_iterator_tag;
        using iterator_category = std::random_access_iterator_tag;
        using value_type = Record;
        using difference_type = std::ptrdiff_t;
        using pointer = const Record*;
        using reference = const Record&;

        const_iterator() = default;
        explicit const_iterator(const Record* const* at)
            : at_(at) {}

        reference operator*() const { return **at_; }
        pointer operator->() const { return *at_; }
        reference operator[](difference_type offset) const { return *at_[offset]; }

        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        const_iterator operator++(int) { return const_iterator(at_++); }
        const_iterator& operator--() {
            --at_;
            return *this;
        }
        const_iterator operator--(int) { return const_iterator(at_--); }
        const_iterator& operator+=(difference_type offset) {
            at_ += offset;
            return *this;
        }
        const_iterator& operator-=(difference_type offset) {
            at_ -= offset;
            return *this;
        }
        friend const_iterator operator+(const_iterator it, difference_type offset) { return it += offset; }
        friend const_iterator operator+(difference_type offset, const_iterator it) { return it += offset; }
        friend const_iterator operator-(const_iterator it, difference_type offset) { return it -= offset; }
        friend difference_type operator-(const_iterator lhs, const_iterator rhs) { return lhs.at_ - rhs.at_; }
        friend bool operator==(const_iterator, const_iterator) = default;
        friend std::strong_ordering operator<=>(const_iterator, const_iterator) = default;

    private:
        const Record* const* at_ = nullptr;
    };
    using iterator = const_iterator;

    SortedRecords()
        : SortedRecords(std::vector<Record>()) {}
    /// `records` in the order given.
    explicit SortedRecords(std::vector<Record> records)
        : table_(std::make_shared<const std::vector<Record>>(std::move(records))) {
        order_.reserve(table_->size());
        for (const Record& record : *table_) {
            order_.push_back(&record);
        }
    }
    /// The records of `table` that `order` points at, in that order.
    SortedRecords(Table table, std::vector<const Record*> order)
        : table_(std::move(table))
        , order_(std::move(order)) {}

    std::size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
    const Record& operator[](std::size_t index) const { return *order_[index]; }
    const Record& front() const { return *order_.front(); }
    const Record& back() const { return *order_.back(); }
    const_iterator begin() const { return const_iterator(order_.data()); }
    const_iterator end() const { return const_iterator(order_.data() + order_.size()); }
    auto rbegin() const { return std::make_reverse_iterator(end()); }
    auto rend() const { return std::make_reverse_iterator(begin()); }

    /// The table the records lie in, and where in it the record at `index` lies.
    const Table& table() const { return table_; }
    std::size_t tableIndex(std::size_t index) const {
        return static_cast<std::size_t>(order_[index] - table_->data());
    }

private:
    Table table_;
    std::vector<const Record*> order_;
};

/// The same records in a new order, exactly as the store's sorted reads would give them: records the
/// descriptor ranks equal keep the order of their keys, the order the store reads them in. The result shares
/// the table of `records`; no record is copied. Made for songs, albums, artists and playlists.
template <class Record>
SortedRecords<Record> resorted(const SortedRecords<Record>& records,
                               const SortDescriptor<Record>& sortDescriptor);

extern template SortedRecords<LocalSong> resorted(const SortedRecords<LocalSong>&,
                                                  const SortDescriptor<LocalSong>&);
extern template SortedRecords<LocalAlbum> resorted(const SortedRecords<LocalAlbum>&,
                                                   const SortDescriptor<LocalAlbum>&);
extern template SortedRecords<LocalArtist> resorted(const SortedRecords<LocalArtist>&,
                                                    const SortDescriptor<LocalArtist>&);
extern template SortedRecords<LocalPlaylist> resorted(const SortedRecords<LocalPlaylist>&,
                                                      const SortDescriptor<LocalPlaylist>&);

} // namespace MarrowbellCore
