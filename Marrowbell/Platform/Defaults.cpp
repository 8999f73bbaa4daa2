#include "Platform/Defaults.h"

#include <QStandardPaths>
#include <cmath>
#include <limits>
#include <optional>

namespace Marrowbell {
namespace {

// The file format keeps every value as text, so a Boolean comes back as "true" or "false".
std::optional<bool> asBool(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) {
        return value.toBool();
    }
    const QString text = value.toString().trimmed().toLower();
    if (text == u"true" || text == u"yes") {
        return true;
    }
    if (text == u"false" || text == u"no") {
        return false;
    }
    return std::nullopt;
}

double asDouble(const QVariant& value) {
    if (const auto flag = asBool(value)) {
        return *flag ? 1.0 : 0.0;
    }
    bool ok = false;
    const double number = value.toString().toDouble(&ok);
    return ok && std::isfinite(number) ? number : 0.0;
}

} // namespace

Defaults::Defaults(const QString& filePath, QObject* parent)
    : QObject(parent)
    , settings_(filePath, QSettings::NativeFormat) {}

QString Defaults::standardFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Marrowbell/Marrowbell.conf");
}

void Defaults::registerDefaults(const QVariantMap& defaults) {
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        registered_.insert(it.key(), it.value());
    }
}

QVariant Defaults::lookup(QAnyStringView key) const {
    const QString name = key.toString();
    if (QVariant stored = settings_.value(name); stored.isValid()) {
        return stored;
    }
    return registered_.value(name);
}

bool Defaults::boolValue(QAnyStringView key) const {
    const QVariant value = lookup(key);
    if (const auto flag = asBool(value)) {
        return *flag;
    }
    return value.isValid() && asDouble(value) != 0.0;
}

qint64 Defaults::integerValue(QAnyStringView key) const {
    const QVariant value = lookup(key);
    if (!value.isValid()) {
        return 0;
    }
    bool ok = false;
    const qint64 whole = value.toString().toLongLong(&ok);
    if (ok) {
        return whole;
    }
    constexpr double limit = static_cast<double>(std::numeric_limits<qint64>::max());
    const double number = asDouble(value);
    return std::abs(number) < limit ? static_cast<qint64>(std::trunc(number)) : 0;
}

double Defaults::doubleValue(QAnyStringView key) const {
    const QVariant value = lookup(key);
    return value.isValid() ? asDouble(value) : 0.0;
}

QString Defaults::stringValue(QAnyStringView key) const {
    return lookup(key).toString();
}

QVariant Defaults::storedValue(QAnyStringView key) const {
    return settings_.value(key.toString());
}

QStringList Defaults::storedKeys() const {
    return settings_.allKeys();
}

void Defaults::setValue(QAnyStringView key, const QVariant& value) {
    const QString name = key.toString();
    settings_.setValue(name, value);
    Q_EMIT valueChanged(name);
}

void Defaults::remove(QAnyStringView key) {
    const QString name = key.toString();
    settings_.remove(name);
    Q_EMIT valueChanged(name);
}

void Defaults::removeAll() {
    const QStringList keys = settings_.allKeys();
    settings_.clear();
    settings_.sync();
    for (const QString& key : keys) {
        Q_EMIT valueChanged(key);
    }
}

bool Defaults::sync() {
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

} // namespace Marrowbell
