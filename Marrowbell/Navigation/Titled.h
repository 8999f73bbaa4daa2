#pragma once

#include <QString>
#include <concepts>

namespace Marrowbell {

/// How a list row names an item: specialise with `static QString id(const Item&)`, the item's identity
/// in selection bindings, and `static QString title(const Item&)`, the row's title.
template <class Item> struct Titling;

/// Anything a list row can show by a title and select by an identifier.
template <class Item>
concept Titled = requires(const Item& item) {
    { Titling<Item>::id(item) } -> std::same_as<QString>;
    { Titling<Item>::title(item) } -> std::same_as<QString>;
};

template <Titled Item> QString rowID(const Item& item) {
    return Titling<Item>::id(item);
}
template <Titled Item> QString rowTitle(const Item& item) {
    return Titling<Item>::title(item);
}

} // namespace Marrowbell
