#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The main() of every application test program.
int main(int argc, char** argv) {
    // Test discovery runs the binary outside ctest's environment, where no display may exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Every folder the application finds through XDG, and the temporary folder, point into a temporary home:
    // no test touches the user's settings, library, artwork or service configuration (without service.json
    // the demo service is used).
    QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
        const QString folder = home.filePath(QString::fromUtf8(variable));
        QDir().mkpath(folder);
        qputenv(variable, folder.toUtf8());
    }
    // Qt wants the runtime folder private to the user.
    const QString runtimeFolder = home.filePath(QStringLiteral("XDG_RUNTIME_DIR"));
    QDir().mkpath(runtimeFolder);
    QFile::setPermissions(runtimeFolder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtimeFolder.toUtf8());
    // The player's audio goes to a sink that discards it: no device is needed, and nothing is heard.
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    qputenv("GST_PLUGIN_FEATURE_RANK", "pulsesink:NONE,alsasink:NONE,pipewiresink:NONE,jackaudiosink:NONE");
    qputenv("PULSE_SERVER", "unix:/nonexistent");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
