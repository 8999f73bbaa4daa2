#include "App/LibraryUnavailableBox.h"
#include "AppTestEnvironment.h"
#include "MainWindow/AppModels.h"
#include "Platform/DefaultsKeys.h"
#include "Windows/MainWindow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace Marrowbell {
namespace {

constexpr int waitMs = 30000;

QByteArray sha256Of(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

/// Overwrites `count` pages in the middle of the file with random bytes, leaving its length.
void damagePages(const QString& path, int count) {
    constexpr qint64 pageSize = 4096;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_GT(file.size(), pageSize * count * 3) << "too small to damage the middle";
    QByteArray noise(static_cast<qsizetype>(pageSize * count), '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    }
    ASSERT_TRUE(file.seek(file.size() / pageSize / 2 * pageSize));
    ASSERT_EQ(file.write(noise), noise.size());
}

/// The application's environment and models on a library in a temporary folder, with the main window where
/// the application shows its messages, and the demo service in-process.
class LibraryUnavailableTests : public testing::Test {
protected:
    static constexpr std::size_t demoSongCount = 1000;

    void TearDown() override { quit(); }

    QString databasePath() const { return folder_.filePath(QStringLiteral("local.db")); }

    void start() {
        environment_ = Testing::makeAppEnvironment(folder_, demoSongCount);
        QObject::connect(environment_.get(), &AppEnvironment::storeUnavailable, &window_,
                         [this](const QString& message) {
                             ++messages_;
                             showLibraryUnavailable(&window_, message);
                         });
        models_ = std::make_unique<AppModels>(*environment_);
        window_.show();
    }

    void quit() {
        models_.reset();
        if (environment_) {
            environment_->shutDown();
            environment_.reset();
        }
    }

    /// Runs the full sync the application runs at its first start, and waits for it to end.
    void runFirstSync() {
        environment_->defaults().setValue(DefaultsKeys::performedFullSync, false);
        ASSERT_TRUE(Testing::finishes(models_->main->performFullSync(), waitMs));
    }

    /// The text of the "Library Unavailable" box once it shows, or nothing.
    QString libraryUnavailableText() {
        QString text;
        const bool shown = QTest::qWaitFor(
            [&] {
                for (auto* box : window_.findChildren<QMessageBox*>()) {
                    if (box->isVisible() && box->windowTitle() == QStringLiteral("Library Unavailable")) {
                        text = box->text();
                    }
                }
                return !text.isEmpty();
            },
            waitMs);
        return shown ? text : QString();
    }

    QTemporaryDir folder_;
    MainWindow window_{QStringLiteral("Marrowbell Demo")};
    std::unique_ptr<AppEnvironment> environment_;
    std::unique_ptr<AppModels> models_;
    int messages_ = 0;
};

TEST_F(LibraryUnavailableTests, ADamagedLibraryIsShownOnceAndASyncWritesNothingIntoIt) {
    start();
    runFirstSync();
    ASSERT_TRUE(environment_->defaults().boolValue(DefaultsKeys::performedFullSync));
    quit();
    damagePages(databasePath(), 20);
    const QByteArray damaged = sha256Of(databasePath());

    start();
    const QString text = libraryUnavailableText();
    EXPECT_TRUE(text.contains(QStringLiteral("The library file %1 is damaged").arg(databasePath())))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Reset Data"))) << text.toStdString();
    runFirstSync();
    EXPECT_FALSE(environment_->defaults().boolValue(DefaultsKeys::performedFullSync));
    quit();
    EXPECT_EQ(messages_, 1);
    EXPECT_EQ(sha256Of(databasePath()), damaged);
    EXPECT_TRUE(sha256Of(databasePath() + QStringLiteral("-wal")).isEmpty() ||
                QFile(databasePath() + QStringLiteral("-wal")).size() == 0);
}

TEST_F(LibraryUnavailableTests, AnotherProgramsDatabaseIsShownAsNoLibraryAndLeftUntouched) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(databasePath().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE contacts (name TEXT); INSERT INTO contacts VALUES ('Ada')", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
    const QByteArray before = sha256Of(databasePath());

    start();
    const QString text = libraryUnavailableText();
    EXPECT_TRUE(text.contains(QStringLiteral("The file %1 is not a Marrowbell library").arg(databasePath())))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Reset Data")))
        << "Reset Data would delete the other program's file";
    runFirstSync();
    quit();
    EXPECT_EQ(sha256Of(databasePath()), before);
}

} // namespace
} // namespace Marrowbell
