#include "SongMemberships.h"

namespace MarrowbellCore {

void SongMemberships::append(const RemoteSong& song) {
    songIdentifiers_ += song.id;
    songIdentifierEnds_.push_back(songIdentifiers_.size());
    const auto& relationships = song.relationships;
    appendOwners(relationships && relationships->albums ? &*relationships->albums : nullptr, albums_);
    appendOwners(relationships && relationships->artists ? &*relationships->artists : nullptr, artists_);
}

std::string_view SongMemberships::songIdentifier(std::size_t song) const {
    const std::size_t begin = song == 0 ? 0 : songIdentifierEnds_[song - 1];
    return std::string_view(songIdentifiers_).substr(begin, songIdentifierEnds_[song] - begin);
}

std::span<const std::uint32_t> SongMemberships::owners(std::size_t song, OwnerKind kind) const {
    const auto& lists = listsOf(kind);
    const std::size_t begin = song == 0 ? 0 : lists.ends[song - 1];
    return std::span(lists.owners).subspan(begin, lists.ends[song] - begin);
}

void SongMemberships::appendOwners(const RemoteSong::Relationships::Resource* related, OwnerLists& lists) {
    if (related && related->data) {
        for (const auto& entry : *related->data) {
            if (entry.id) {
                lists.owners.push_back(ownerIndex(*entry.id));
            }
        }
    }
    lists.ends.push_back(lists.owners.size());
}

std::uint32_t SongMemberships::ownerIndex(const std::string& identifier) {
    const auto [position, isNew] =
        ownerIndexes_.try_emplace(identifier, static_cast<std::uint32_t>(ownerIdentifiers_.size()));
    if (isNew) {
        ownerIdentifiers_.push_back(&position->first);
    }
    return position->second;
}

const SongMemberships::OwnerLists& SongMemberships::listsOf(OwnerKind kind) const {
    return kind == OwnerKind::album ? albums_ : artists_;
}

} // namespace MarrowbellCore
