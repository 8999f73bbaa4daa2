#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The system's media libraries (GLib, GStreamer, PulseAudio) keep some allocations until the process ends;
// only leaks of this project's code count.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libglib-2.0.so\nleak:libgobject-2.0.so\nleak:libgstreamer-1.0.so\nleak:libpulse.so\n";
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Every folder the application finds through XDG points into a temporary home, and the player's audio
    // goes to a sink that discards it.
    QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        qputenv(variable, home.filePath(QString::fromUtf8(variable)).toUtf8());
    }
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    qputenv("GST_PLUGIN_FEATURE_RANK", "pulsesink:NONE,alsasink:NONE,pipewiresink:NONE,jackaudiosink:NONE");
    qputenv("PULSE_SERVER", "unix:/nonexistent");
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
