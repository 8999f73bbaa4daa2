#pragma once

#include <stdexcept>

namespace Marrowbell {

/// Thrown by the play operations of the container lists when the container yields no song to start from.
class PlaybackError : public std::runtime_error {
public:
    enum class Code { noSongs };

    explicit PlaybackError(Code code)
        : std::runtime_error("The container has no songs to play")
        , code_(code) {}

    Code code() const { return code_; }

    bool operator==(const PlaybackError& other) const { return code_ == other.code_; }

private:
    Code code_;
};

} // namespace Marrowbell
