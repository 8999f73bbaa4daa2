#pragma once

#include "MarrowbellCore/Store/LocalDatabase.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

namespace MarrowbellCore::Testing {

/// A test with an opened store in a temporary folder.
class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        resetLog();
        store.open();
    }

    std::string path() const { return directory.file("local.db"); }
    std::vector<std::string> query(const std::string& sql) const { return queryText(path(), sql); }

    static IncomingSong song(const std::string& identifier, const std::string& title,
                             std::optional<std::int64_t> order = std::nullopt, bool isPassive = false) {
        IncomingSong song;
        song.identifier = identifier;
        song.title = title;
        song.duration = 200.0;
        song.playParameters = MusicKit::PlayParameters{identifier, "song"};
        song.order = order;
        song.isPassive = isPassive;
        return song;
    }
    static IncomingAlbum album(const std::string& identifier, const std::string& title) {
        return IncomingAlbum{identifier, title};
    }
    static IncomingArtist artist(const std::string& identifier, const std::string& name) {
        return IncomingArtist{identifier, name};
    }
    static IncomingPlaylist playlist(const std::string& identifier, const std::string& name) {
        return IncomingPlaylist{identifier, name};
    }

    TemporaryDirectory directory;
    LocalDatabase store{directory.file("local.db")};
};

template <class Record> std::vector<std::string> identifiersOf(const std::vector<Record>& records) {
    std::vector<std::string> identifiers;
    for (const auto& record : records) {
        identifiers.push_back(record.identifier);
    }
    return identifiers;
}

} // namespace MarrowbellCore::Testing
