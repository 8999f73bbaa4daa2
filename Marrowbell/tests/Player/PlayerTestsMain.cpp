#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The system's media libraries (GLib, GStreamer, PulseAudio) keep some allocations until the process ends;
// only leaks of this project's code count.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libglib-2.0.so\nleak:libgobject-2.0.so\nleak:libgstreamer-1.0.so\nleak:libpulse.so\n";
}

int main(int argc, char** argv) {
    // Every folder the application finds through XDG, and the temporary folder, point into a temporary home.
    QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
        const QString folder = home.filePath(QString::fromUtf8(variable));
        QDir().mkpath(folder);
        qputenv(variable, folder.toUtf8());
    }
    // The player's audio goes to a sink that discards it: no device is needed, and nothing is heard.
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    qputenv("GST_PLUGIN_FEATURE_RANK", "pulsesink:NONE,alsasink:NONE,pipewiresink:NONE,jackaudiosink:NONE");
    qputenv("PULSE_SERVER", "unix:/nonexistent");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
