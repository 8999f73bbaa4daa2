#include "TamselUIKit/LogCollector.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <UnifiedLog/LogStore.h>

namespace TamselUIKit {

using namespace Qt::StringLiterals;

namespace {

constexpr int journalTimeoutMilliseconds = 10'000;
constexpr int journalEntryLimit = 20'000;

int levelCode(UnifiedLog::LogLevel level) {
    // The store has no "undefined" level, so its levels count from debug = 1.
    return static_cast<int>(level) + 1;
}

QStringList currentProcessLines() {
    QStringList lines;
    for (const auto& entry : UnifiedLog::LogStore::shared().entries(UnifiedLog::LogLevel::error)) {
        lines.append(QString::fromStdString(entry.subsystem) + u"; "_s +
                     QString::fromStdString(entry.category) + u"; "_s +
                     QString::number(levelCode(entry.level)) + u"; "_s +
                     QString::fromStdString(entry.message) + u'\n');
    }
    return lines;
}

/// Case-folded, with the combining marks that decompose out of accented letters removed.
QString foldedForMatching(const QString& text) {
    QString folded;
    for (const QChar character : text.normalized(QString::NormalizationForm_D)) {
        if (character.category() != QChar::Mark_NonSpacing) {
            folded.append(character);
        }
    }
    return folded.toCaseFolded();
}

QByteArray readJournal() {
    QProcess journal;
    journal.start(u"journalctl"_s, {u"--no-pager"_s, u"--quiet"_s, u"--output=json"_s, u"--priority=err"_s,
                                    u"--lines=%1"_s.arg(journalEntryLimit)});
    if (!journal.waitForStarted(journalTimeoutMilliseconds) ||
        !journal.waitForFinished(journalTimeoutMilliseconds)) {
        journal.kill();
        journal.waitForFinished(journalTimeoutMilliseconds);
        return {};
    }
    if (journal.exitStatus() != QProcess::NormalExit || journal.exitCode() != 0) {
        return {};
    }
    return journal.readAllStandardOutput();
}

QStringList journalLines(const QString& processName) {
    const QString wanted = foldedForMatching(processName);
    QStringList lines;
    for (const QByteArray& record : readJournal().split('\n')) {
        const QJsonObject entry = QJsonDocument::fromJson(record).object();
        const QString command = entry.value(u"_COMM"_s).toString();
        const QString identifier = entry.value(u"SYSLOG_IDENTIFIER"_s).toString();
        const bool matches =
            foldedForMatching(command).contains(wanted) || foldedForMatching(identifier).contains(wanted);
        // Messages that are not valid UTF-8 come as byte arrays, which toString() turns into nothing.
        const QString message = entry.value(u"MESSAGE"_s).toString();
        if (matches && !message.isEmpty()) {
            lines.append(message + u'\n');
        }
    }
    return lines;
}

QString newestLinesWithin(const QStringList& lines, std::size_t maximumBytes) {
    std::size_t bytes = 0;
    qsizetype first = lines.size();
    while (first > 0) {
        const auto lineBytes = static_cast<std::size_t>(lines[first - 1].toUtf8().size());
        if (bytes + lineBytes > maximumBytes) {
            break;
        }
        bytes += lineBytes;
        --first;
    }
    return lines.mid(first).join(QString());
}

} // namespace

QString collectLogs(const IncludedLogs& included, std::size_t maximumBytes) {
    const QStringList lines =
        included.isCurrentProcess() ? currentProcessLines() : journalLines(included.processName());
    return newestLinesWithin(lines, maximumBytes);
}

} // namespace TamselUIKit
