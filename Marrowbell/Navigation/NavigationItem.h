#pragma once

#include "Navigation/ContainerKind.h"

#include <QHashFunctions>
#include <QString>
#include <cstddef>
#include <functional>
#include <variant>

namespace Marrowbell {

/// One column of the pod: the root list of kinds, one kind's list, or one opened song collection (a
/// playlist, album or artist). A plain value: equal when of the same case with equal payloads.
class NavigationItem {
public:
    struct Root {
        bool operator==(const Root&) const = default;
    };
    struct Container {
        ContainerKind kind = ContainerKind::playlists;
        bool operator==(const Container&) const = default;
    };
    struct SongCollection {
        QString id;
        QString title;
        bool operator==(const SongCollection&) const = default;
    };
    using Value = std::variant<Root, Container, SongCollection>;

    /// The root item.
    NavigationItem() = default;
    static NavigationItem root() { return NavigationItem(Root{}); }
    static NavigationItem container(ContainerKind kind) { return NavigationItem(Container{kind}); }
    static NavigationItem songCollection(QString id, QString title) {
        return NavigationItem(SongCollection{std::move(id), std::move(title)});
    }

    /// "root", the kind's identifier, or the collection's id; items of different cases may share it.
    QString id() const;

    const Value& value() const { return value_; }
    /// The payload when the item is of case `Case`, else nullptr.
    template <class Case> const Case* as() const { return std::get_if<Case>(&value_); }

    bool operator==(const NavigationItem&) const = default;

private:
    explicit NavigationItem(Value value)
        : value_(std::move(value)) {}

    Value value_;
};

size_t qHash(const NavigationItem& item, size_t seed = 0) noexcept;

} // namespace Marrowbell

template <> struct std::hash<Marrowbell::NavigationItem> {
    std::size_t operator()(const Marrowbell::NavigationItem& item) const noexcept { return qHash(item); }
};
