#include "Platform/BackgroundWork.h"

#include <QThread>
#include <algorithm>

namespace Marrowbell {

BackgroundWork::BackgroundWork() {
    // Syncs spend most of their time waiting for the service, so a few more threads than cores help.
    workers_.setMaxThreadCount(std::max(4, QThread::idealThreadCount()));
}

BackgroundWork::~BackgroundWork() {
    shutdown(std::chrono::seconds(5));
}

bool BackgroundWork::shutdown(std::chrono::milliseconds timeout) {
    shutdown_.request_stop();
    workers_.clear();
    return workers_.waitForDone(static_cast<int>(timeout.count()));
}

} // namespace Marrowbell
