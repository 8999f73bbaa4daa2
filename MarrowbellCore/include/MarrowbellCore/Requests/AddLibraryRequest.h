#pragma once

#include <stop_token>
#include <string>

namespace MarrowbellCore {

/// Adds one song of the service's catalog to the user's library.
class AddLibraryRequest {
public:
    explicit AddLibraryRequest(std::string songID)
        : songID_(std::move(songID)) {}

    /// The service's catalog identifier of the song.
    const std::string& songID() const { return songID_; }

    /// Sends "POST" to the API base followed by "/v1/me/library?ids[songs]=" and the identifier,
    /// without a body, allowing 60 seconds; returns when the service has accepted it. Blocks.
    /// Throws LibraryURLError, before sending anything, when the identifier is empty or holds a
    /// character other than letters, digits, "-", ".", "_" and "~"; otherwise MusicKit's errors
    /// (the service's error answer as MusicDataRequest::Error) and Foundation::CancellationError
    /// unchanged.
    void perform(std::stop_token stopToken = {}) const;

private:
    std::string songID_;
};

} // namespace MarrowbellCore
