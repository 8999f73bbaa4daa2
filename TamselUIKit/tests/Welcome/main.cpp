#include "PrivateSessionBus.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Test discovery runs the program without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Settings and the desktop's recently-used list stay inside the test.
    const QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    // The file manager is reached over a session bus of the test's own.
    const TamselUIKit::Testing::PrivateSessionBus sessionBus;
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("TamselUIKitTests"));
    QApplication::setApplicationDisplayName(QStringLiteral("Inkwell"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
