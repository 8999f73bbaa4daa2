#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Every folder the application finds through XDG points into a temporary home (without service.json the
    // demo service is used), and the player's audio goes to a sink that discards it.
    QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        qputenv(variable, home.filePath(QString::fromUtf8(variable)).toUtf8());
    }
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    qputenv("GST_PLUGIN_FEATURE_RANK", "pulsesink:NONE,alsasink:NONE,pipewiresink:NONE,jackaudiosink:NONE");
    qputenv("PULSE_SERVER", "unix:/nonexistent");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
