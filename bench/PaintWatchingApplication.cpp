#include "PaintWatchingApplication.h"

#include <QEvent>
#include <QWidget>

namespace Benchmark {

PaintWatchingApplication::PaintWatchingApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool PaintWatchingApplication::notify(QObject* receiver, QEvent* event) {
    // Read before the event is handled: a handler may delete it.
    const bool isPaint = event->type() == QEvent::Paint && receiver->isWidgetType();
    const bool handled = QApplication::notify(receiver, event);
    if (isPaint && paintHandled_) {
        paintHandled_(static_cast<QWidget*>(receiver));
    }
    return handled;
}

PaintWatchingApplication& PaintWatchingApplication::instance() {
    return *static_cast<PaintWatchingApplication*>(QCoreApplication::instance());
}

} // namespace Benchmark
