#include "Navigation/NavigationItem.h"

namespace Marrowbell {

QString NavigationItem::id() const {
    if (const auto* container = as<Container>()) {
        return containerKindID(container->kind);
    }
    if (const auto* collection = as<SongCollection>()) {
        return collection->id;
    }
    return QStringLiteral("root");
}

size_t qHash(const NavigationItem& item, size_t seed) noexcept {
    seed = qHashMulti(seed, item.value().index());
    if (const auto* container = item.as<NavigationItem::Container>()) {
        return qHashMulti(seed, static_cast<int>(container->kind));
    }
    if (const auto* collection = item.as<NavigationItem::SongCollection>()) {
        return qHashMulti(seed, collection->id, collection->title);
    }
    return seed;
}

} // namespace Marrowbell
