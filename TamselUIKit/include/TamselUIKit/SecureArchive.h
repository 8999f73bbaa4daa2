#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QMetaType>
#include <concepts>
#include <optional>

namespace TamselUIKit {

/// A value that can be archived: copyable, default-constructible and streamable with QDataStream.
template <typename T>
concept SecureCodable = std::default_initializable<T> && std::copy_constructible<T> &&
    requires(QDataStream& stream, T& value, const T& constValue) {
    stream << constValue;
    stream >> value;
};

/// Archives that name the class they hold, so that bytes of another class, damaged bytes or bytes with
/// anything left over unarchive as nothing rather than as a wrong value.
namespace SecureArchive {

inline constexpr quint32 magic = 0x544B4152; // "TKAR"
inline constexpr QDataStream::Version streamVersion = QDataStream::Qt_6_4;

template <SecureCodable T> QByteArray className() {
    return QByteArray(QMetaType::fromType<T>().name());
}

template <SecureCodable T> QByteArray archived(const T& value) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(streamVersion);
    stream << magic << className<T>() << value;
    return bytes;
}

template <SecureCodable T> std::optional<T> unarchived(const QByteArray& bytes) {
    QDataStream stream(bytes);
    stream.setVersion(streamVersion);
    quint32 foundMagic = 0;
    QByteArray foundClass;
    stream >> foundMagic >> foundClass;
    if (stream.status() != QDataStream::Ok || foundMagic != magic || foundClass != className<T>()) {
        return std::nullopt;
    }
    T value;
    stream >> value;
    if (stream.status() != QDataStream::Ok || !stream.atEnd()) {
        return std::nullopt;
    }
    return value;
}

} // namespace SecureArchive
} // namespace TamselUIKit
