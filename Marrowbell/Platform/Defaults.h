#pragma once

#include <QAnyStringView>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace Marrowbell {

/// The application's persistent settings: a QSettings file (native format) plus an in-memory table of
/// registered defaults, which answer for keys the user has not stored. Reads follow the stored value first,
/// then the registered one; a key that is neither reads false, 0 or 0.0. Keys are declared in DefaultsKeys.h.
/// GUI thread only.
class Defaults final : public QObject {
    Q_OBJECT

public:
    /// Settings kept in `filePath`; its folder is created on the first write.
    explicit Defaults(const QString& filePath, QObject* parent = nullptr);

    /// "Marrowbell/Marrowbell.conf" in the XDG config home ($XDG_CONFIG_HOME or ~/.config).
    static QString standardFilePath();

    QString filePath() const { return settings_.fileName(); }

    /// Replaces earlier registrations of the same keys; never written to the file.
    void registerDefaults(const QVariantMap& defaults);

    bool boolValue(QAnyStringView key) const;
    /// A stored floating-point number is truncated toward zero; a stored Boolean reads 1 or 0.
    qint64 integerValue(QAnyStringView key) const;
    double doubleValue(QAnyStringView key) const;
    QString stringValue(QAnyStringView key) const;
    /// The stored value only (registered defaults are not consulted), or an invalid QVariant.
    QVariant storedValue(QAnyStringView key) const;
    /// Every key that holds a stored value.
    QStringList storedKeys() const;

    void setValue(QAnyStringView key, const QVariant& value);
    void remove(QAnyStringView key);
    /// Forgets every stored key (registered defaults stay) and writes the emptied file at once.
    void removeAll();

    /// Writes pending changes to the file; true when the file is in a good state afterwards.
    bool sync();

Q_SIGNALS:
    /// A key was set or removed through this object.
    void valueChanged(const QString& key);

private:
    QVariant lookup(QAnyStringView key) const;

    QSettings settings_;
    QVariantMap registered_;
};

} // namespace Marrowbell
