#include "Navigation/ContainerKind.h"

#include "App/AppIdentity.h"

#include <UnifiedLog/Logger.h>

namespace Marrowbell {
namespace {

struct KindNames {
    const char16_t* id;
    const char16_t* title;
    const char16_t* symbolName;
};

// Indexed by the kind's value.
constexpr std::array<KindNames, allContainerKinds.size()> kindNames = {{
    {u"playlists", u"Playlists", u"square.grid.3x3"},
    {u"albums", u"Albums", u"square.stack"},
    {u"artists", u"Artists", u"music.microphone"},
    {u"songs", u"Songs", u"music.note"},
    {u"madeForYou", u"Made for You", u"person.crop.square"},
    {u"stations", u"Stations for You", u"radio"},
}};

const KindNames& namesOf(ContainerKind kind) {
    return kindNames[static_cast<std::size_t>(kind)];
}

const UnifiedLog::Logger& collectionLogger() {
    static const UnifiedLog::Logger logger(std::string(appIdentifier), "collection");
    return logger;
}

} // namespace

QString containerKindID(ContainerKind kind) {
    return QString::fromUtf16(namesOf(kind).id);
}

QString containerKindTitle(ContainerKind kind) {
    return QString::fromUtf16(namesOf(kind).title);
}

QString containerKindSymbolName(ContainerKind kind) {
    return QString::fromUtf16(namesOf(kind).symbolName);
}

std::optional<ContainerKind> containerKindFromID(QStringView id) {
    for (const auto kind : allContainerKinds) {
        if (id == QStringView(namesOf(kind).id)) {
            return kind;
        }
    }
    return std::nullopt;
}

ContainerKind containerKindFromIDOrPlaylists(QStringView id) {
    if (const auto kind = containerKindFromID(id)) {
        return *kind;
    }
    collectionLogger().error("Unsupported container kind ID: %@; showing playlists",
                             {id.toString().toStdString()});
    return ContainerKind::playlists;
}

} // namespace Marrowbell
