#pragma once

#include <QHashFunctions>
#include <QIcon>
#include <QString>
#include <QUrl>
#include <optional>

namespace TamselUIKit {

/// One recently opened document. Records are equal when their URLs are, whatever their names or icons.
struct WelcomeRecent {
    QUrl url;
    /// The file's name without its last extension.
    QString displayName;
    /// The file's icon from the desktop's icon theme.
    QIcon fastIcon;

    /// The description of the file's content type ("PNG image"); none when the file cannot be read.
    /// Any thread.
    std::optional<QString> kindDescription() const;

    friend bool operator==(const WelcomeRecent& left, const WelcomeRecent& right) {
        return left.url == right.url;
    }
};

inline size_t qHash(const WelcomeRecent& recent, size_t seed = 0) noexcept {
    return qHash(recent.url, seed);
}

} // namespace TamselUIKit
