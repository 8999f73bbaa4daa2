#pragma once

#include "Remote/RemoteSong.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace MarrowbellCore {

/// Which albums and artists each song of a listing names, in listing order: all that the relation rebuild
/// needs of the service's songs. Each owner's identifier is held once however many songs name it, so a
/// whole library's memberships stay small. Not copyable, since its owners are looked up through their
/// identifiers' addresses.
class SongMemberships {
public:
    enum class OwnerKind { album, artist };

    SongMemberships() = default;
    SongMemberships(SongMemberships&&) = default;
    SongMemberships& operator=(SongMemberships&&) = default;
    SongMemberships(const SongMemberships&) = delete;
    SongMemberships& operator=(const SongMemberships&) = delete;

    /// Adds the song: its identifier and, in the order its relationships give them, the albums and artists
    /// it names. Relationship entries without an identifier name nothing and are left out.
    void append(const RemoteSong& song);

    std::size_t songCount() const { return songIdentifierEnds_.size(); }
    std::string_view songIdentifier(std::size_t song) const;
    /// The owners of the kind that the song names, as indexes below ownerCount(); repeats are kept.
    std::span<const std::uint32_t> owners(std::size_t song, OwnerKind kind) const;

    std::size_t ownerCount() const { return ownerIdentifiers_.size(); }
    const std::string& ownerIdentifier(std::uint32_t owner) const { return *ownerIdentifiers_[owner]; }

private:
    /// Every song's owners of one kind, one after the other; `ends[i]` is where song i's owners end.
    struct OwnerLists {
        std::vector<std::uint32_t> owners;
        std::vector<std::size_t> ends;
    };

    /// `related` is null when the song's relationships do not mention the kind.
    void appendOwners(const RemoteSong::Relationships::Resource* related, OwnerLists& lists);
    std::uint32_t ownerIndex(const std::string& identifier);
    const OwnerLists& listsOf(OwnerKind kind) const;

    std::string songIdentifiers_;
    std::vector<std::size_t> songIdentifierEnds_;
    OwnerLists albums_;
    OwnerLists artists_;
    std::unordered_map<std::string, std::uint32_t> ownerIndexes_;
    /// The keys of `ownerIndexes_` by index; a map's keys keep their address while it lives.
    std::vector<const std::string*> ownerIdentifiers_;
};

} // namespace MarrowbellCore
