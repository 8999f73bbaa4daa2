#include "RecordedSignals.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace Marrowbell::Testing {
RecordedSignals* recordedSignals = nullptr;
}

int main(int argc, char** argv) {
    // The usage-statistics client and the settings keep their files in a temporary home.
    QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        qputenv(variable, home.filePath(QString::fromUtf8(variable)).toUtf8());
    }
    // Test discovery runs the binary outside ctest's environment, where no display may exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    Marrowbell::Testing::RecordedSignals signals;
    Marrowbell::Testing::recordedSignals = &signals;
    return RUN_ALL_TESTS();
}
