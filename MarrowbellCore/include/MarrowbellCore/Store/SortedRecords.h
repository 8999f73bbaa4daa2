#pragma once

#include "MarrowbellCore/Store/LocalAlbum.h"
#include "MarrowbellCore/Store/LocalArtist.h"
#include "MarrowbellCore/Store/LocalPlaylist.h"
#include "MarrowbellCore/Store/LocalSong.h"
#include "MarrowbellCore/Store/SortDescriptor.h"

#include <cstddef>
#include <vector>

namespace MarrowbellCore {

/// The positions of `records` in the order of `sortDescriptor`: the order of the store's sorted read
/// (allLibrarySongs, allAlbums, allArtists, allPlaylists) of the same records, ties included, whatever order
/// `records` come in. Sorts on several threads and may be called from any thread.
template <class Record>
std::vector<std::size_t> sortedPositions(const std::vector<Record>& records,
                                         const SortDescriptor<Record>& sortDescriptor);

/// A copy of `records` in the order of sortedPositions().
template <class Record>
std::vector<Record> sortedRecords(const std::vector<Record>& records,
                                  const SortDescriptor<Record>& sortDescriptor);

extern template std::vector<std::size_t> sortedPositions(const std::vector<LocalSong>&,
                                                         const SortDescriptor<LocalSong>&);
extern template std::vector<LocalSong> sortedRecords(const std::vector<LocalSong>&,
                                                     const SortDescriptor<LocalSong>&);
extern template std::vector<std::size_t> sortedPositions(const std::vector<LocalAlbum>&,
                                                         const SortDescriptor<LocalAlbum>&);
extern template std::vector<LocalAlbum> sortedRecords(const std::vector<LocalAlbum>&,
                                                      const SortDescriptor<LocalAlbum>&);
extern template std::vector<std::size_t> sortedPositions(const std::vector<LocalArtist>&,
                                                         const SortDescriptor<LocalArtist>&);
extern template std::vector<LocalArtist> sortedRecords(const std::vector<LocalArtist>&,
                                                       const SortDescriptor<LocalArtist>&);
extern template std::vector<std::size_t> sortedPositions(const std::vector<LocalPlaylist>&,
                                                         const SortDescriptor<LocalPlaylist>&);
extern template std::vector<LocalPlaylist> sortedRecords(const std::vector<LocalPlaylist>&,
                                                         const SortDescriptor<LocalPlaylist>&);

} // namespace MarrowbellCore
