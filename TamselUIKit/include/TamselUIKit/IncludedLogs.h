#pragma once

#include <QString>

namespace TamselUIKit {

/// Which log entries a feedback mail carries: those of the running process, or those of every process
/// whose name contains a given name (compared without regard to case or diacritics).
class IncludedLogs {
public:
    static IncludedLogs currentProcess() { return IncludedLogs(true, QString()); }
    static IncludedLogs process(QString name) { return IncludedLogs(false, std::move(name)); }

    bool isCurrentProcess() const { return isCurrentProcess_; }
    /// The name to look for; empty for the current process.
    const QString& processName() const { return processName_; }

private:
    IncludedLogs(bool isCurrentProcess, QString processName)
        : isCurrentProcess_(isCurrentProcess)
        , processName_(std::move(processName)) {}

    bool isCurrentProcess_;
    QString processName_;
};

} // namespace TamselUIKit
