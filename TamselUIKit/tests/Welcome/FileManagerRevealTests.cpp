#include "OpenedURLs.h"

#include <QDBusConnection>
#include <QStringList>
#include <QTest>
#include <TamselUIKit/FileManagerReveal.h>
#include <gtest/gtest.h>

namespace TamselUIKit {
namespace {

using namespace Qt::StringLiterals;

constexpr int waitMilliseconds = 5'000;
const QString service = u"org.freedesktop.FileManager1"_s;
const QString path = u"/org/freedesktop/FileManager1"_s;

/// Stands in for the desktop's file manager, which does not run here.
class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shownItems;

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString&) { shownItems += uris; }
};

class FileManagerRevealTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()); }

    Testing::OpenedURLs opened{u"file"_s};
};

TEST_F(FileManagerRevealTest, AsksTheFileManagerToShowTheFile) {
    FileManager fileManager;
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.registerObject(path, &fileManager, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService(service));

    showInFileManager(QUrl::fromLocalFile(u"/music/Mix Tape.m3u"_s));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fileManager.shownItems.isEmpty(); }, waitMilliseconds));
    EXPECT_EQ(fileManager.shownItems, QStringList{u"file:///music/Mix%20Tape.m3u"_s});
    QTest::qWait(50);
    EXPECT_TRUE(opened.urls.isEmpty());

    bus.unregisterService(service);
    bus.unregisterObject(path);
}

TEST_F(FileManagerRevealTest, WithoutAFileManagerOpensTheFilesFolder) {
    showInFileManager(QUrl::fromLocalFile(u"/music/Mix Tape.m3u"_s));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.urls.isEmpty(); }, waitMilliseconds));
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(u"/music"_s)});
}

} // namespace
} // namespace TamselUIKit

#include "FileManagerRevealTests.moc"
