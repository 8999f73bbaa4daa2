#pragma once

#include <QApplication>
#include <functional>

namespace Benchmark {

/// The benchmark's QApplication: tells, once a widget has handled a paint event, which widget painted.
/// Event filters see an event before its widget handles it; this sees the moment the drawing has ended.
class PaintWatchingApplication : public QApplication {
public:
    using PaintHandled = std::function<void(QWidget* painted)>;

    PaintWatchingApplication(int& argc, char** argv);

    /// Replaces the call made after each handled paint event; an empty one stops the watch.
    void setPaintHandled(PaintHandled paintHandled) { paintHandled_ = std::move(paintHandled); }

    bool notify(QObject* receiver, QEvent* event) override;

    static PaintWatchingApplication& instance();

private:
    PaintHandled paintHandled_;
};

} // namespace Benchmark
