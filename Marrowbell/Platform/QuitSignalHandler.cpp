#include "Platform/QuitSignalHandler.h"

#include "Platform/AppLoggers.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace Marrowbell {
namespace {

int pipeFds[2] = {-1, -1};
// Until an event loop reads the pipe, a signal would only wait there while start-up blocks on a file, the
// store or the service; so until then the signal takes its default action and ends the process.
volatile std::sig_atomic_t quitsAtOnce = 1;

void restoreDefault(int signalNumber) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signalNumber, &action, nullptr);
}

extern "C" void writeSignalToPipe(int signalNumber) {
    if (quitsAtOnce) {
        restoreDefault(signalNumber);
        ::raise(signalNumber);
        return;
    }
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(pipeFds[1], &byte, 1);
    errno = savedErrno;
}

void installHandler(int signalNumber) {
    struct sigaction action {};
    action.sa_handler = writeSignalToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

} // namespace

QuitSignalHandler::QuitSignalHandler(QObject* parent)
    : QObject(parent) {
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        AppLoggers::app().error("Cannot watch for quit signals: %@", {std::strerror(errno)});
        return;
    }
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignalHandler::readSignal);
    installHandler(SIGINT);
    installHandler(SIGTERM);
}

void QuitSignalHandler::deliverThroughEventLoop() {
    quitsAtOnce = 0;
}

QuitSignalHandler::~QuitSignalHandler() {
    if (!notifier_) {
        return;
    }
    restoreDefault(SIGINT);
    restoreDefault(SIGTERM);
    quitsAtOnce = 1;
    delete notifier_;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

void QuitSignalHandler::readSignal() {
    unsigned char byte = 0;
    while (::read(pipeFds[0], &byte, 1) == 1) {
        AppLoggers::app().notice("Quitting on signal %d", {static_cast<int>(byte)});
    }
    Q_EMIT quitRequested();
}

} // namespace Marrowbell
