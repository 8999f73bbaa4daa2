#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <cstdio>

namespace Benchmark {

/// Runs this benchmark program again with `arguments`, its output and errors going where this process's go,
/// and gives back its exit status (1 when it crashed or did not end within `timeoutMs`, and was killed).
/// A fresh process measures the application alone: nothing this process read or kept counts in its memory.
inline int runThisProgramAgain(const QStringList& arguments, int timeoutMs) {
    std::fflush(stdout);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(timeoutMs)) {
        std::fprintf(stderr, "the measuring process did not finish in time\n");
        child.kill();
        child.waitForFinished(10000);
        return 1;
    }
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 1;
}

} // namespace Benchmark
