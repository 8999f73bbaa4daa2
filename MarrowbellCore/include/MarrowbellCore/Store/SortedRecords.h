#pragma once

#include "MarrowbellCore/Store/LocalAlbum.h"
#include "MarrowbellCore/Store/LocalArtist.h"
#include "MarrowbellCore/Store/LocalPlaylist.h"
#include "MarrowbellCore/Store/LocalSong.h"
#include "MarrowbellCore/Store/SortDescriptor.h"

#include <stop_token>
#include <vector>

namespace MarrowbellCore {

// Copies of records already read, in a new order, exactly as the store's sorted reads would give them:
// records the descriptor ranks equal keep the order of their keys, the order the store reads them in. A stop
// request ends the sort with Foundation::CancellationError.

std::vector<LocalSong> sortedCopy(const std::vector<LocalSong>& records,
                                  const SortDescriptor<LocalSong>& sortDescriptor,
                                  std::stop_token stopToken = {});
std::vector<LocalAlbum> sortedCopy(const std::vector<LocalAlbum>& records,
                                   const SortDescriptor<LocalAlbum>& sortDescriptor,
                                   std::stop_token stopToken = {});
std::vector<LocalArtist> sortedCopy(const std::vector<LocalArtist>& records,
                                    const SortDescriptor<LocalArtist>& sortDescriptor,
                                    std::stop_token stopToken = {});
std::vector<LocalPlaylist> sortedCopy(const std::vector<LocalPlaylist>& records,
                                      const SortDescriptor<LocalPlaylist>& sortDescriptor,
                                      std::stop_token stopToken = {});

} // namespace MarrowbellCore
