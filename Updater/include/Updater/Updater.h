#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace Updater {

/// The application's updater, as its menus use it: the automatic-check switch and the user-requested check.
/// Packages of a Linux distribution are updated by the system's package manager, so neither makes a network
/// request; the check tells the user where updates come from. GUI thread.
class Updater final : public QObject {
    Q_OBJECT

public:
    explicit Updater(QString productName, QObject* parent = nullptr);

    bool automaticallyChecksForUpdates() const { return automaticallyChecks_; }
    void setAutomaticallyChecksForUpdates(bool enabled) { automaticallyChecks_ = enabled; }

    /// The text the check shows.
    QString checkResultText() const;
    /// Shows the check's result in a message box over `parent`; returns when the user closes it.
    void checkForUpdates(QWidget* parent);

private:
    QString productName_;
    bool automaticallyChecks_ = false;
};

} // namespace Updater
