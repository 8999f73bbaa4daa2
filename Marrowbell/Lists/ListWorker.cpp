#include "Lists/ListWorker.h"

namespace Marrowbell {
namespace {

struct SerialPool : QThreadPool {
    SerialPool() { setMaxThreadCount(1); }
};

} // namespace

QThreadPool& listWorker() {
    static SerialPool worker;
    return worker;
}

} // namespace Marrowbell
