// Starts the real marrowbell program on the offscreen platform with temporary XDG folders.
#include <MarrowbellCore/Store/LocalDatabase.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <set>
#include <sqlite3.h>
#include <string>
#include <sys/stat.h>

namespace {

constexpr int startTimeoutMs = 60000;

/// The "CREATE" statements of every table and index in the file, or nothing when it cannot be read.
std::set<std::string> schemaOf(const QString& path) {
    std::set<std::string> statements;
    sqlite3* connection = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(connection, "SELECT sql FROM sqlite_master WHERE sql IS NOT NULL", -1,
                               &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW) {
                statements.insert(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(connection);
    return statements;
}

class LaunchTests : public testing::Test {
protected:
    QString xdg(const char* variable) const { return home_.filePath(QString::fromUtf8(variable)); }
    QString databasePath() const { return xdg("XDG_DATA_HOME") + QStringLiteral("/Marrowbell/local.db"); }

    void start(const QStringList& arguments = {QStringLiteral("--demo-songs"), QStringLiteral("200")}) {
        launch(process_, arguments);
    }

    /// Starts the program with this test's folders, so that every launch of one test is the same user's.
    void launch(QProcess& process, const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable :
             {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
            environment.insert(QString::fromUtf8(variable), xdg(variable));
        }
        QDir().mkpath(xdg("XDG_RUNTIME_DIR"));
        QFile::setPermissions(xdg("XDG_RUNTIME_DIR"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(MARROWBELL_EXECUTABLE), arguments);
        ASSERT_TRUE(process.waitForStarted(startTimeoutMs));
    }

    QString serviceFilePath() const {
        return xdg("XDG_CONFIG_HOME") + QStringLiteral("/Marrowbell/service.json");
    }

    /// Waits (bounded) until standard error holds `text`.
    bool waitForError(const QString& text, int timeoutMs = startTimeoutMs) {
        return QTest::qWaitFor(
                   [&] {
                       process_.waitForReadyRead(100);
                       errors_ += QString::fromUtf8(process_.readAllStandardError());
                       return errors_.contains(text) || process_.state() == QProcess::NotRunning;
                   },
                   timeoutMs) &&
               errors_.contains(text);
    }

    /// Sends SIGTERM and waits (bounded) for the end.
    void terminate() {
        process_.terminate();
        ASSERT_TRUE(process_.waitForFinished(startTimeoutMs));
        errors_ += QString::fromUtf8(process_.readAllStandardError());
        EXPECT_EQ(process_.exitStatus(), QProcess::NormalExit) << errors_.toStdString();
    }

    void TearDown() override {
        for (QProcess* process : {&process_, &second_}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QTemporaryDir home_;
    QProcess process_;
    /// A second launch by the same user.
    QProcess second_;
    QString errors_;
};

TEST_F(LaunchTests, StartsOnTheDemoServiceAndQuitsCleanlyOnSigterm) {
    start();
    ASSERT_TRUE(waitForError(QStringLiteral("main window shown"))) << errors_.toStdString();
    EXPECT_TRUE(errors_.contains(QStringLiteral("on Marrowbell Demo (http://127.0.0.1:")));

    QTemporaryDir reference;
    const QString referencePath = reference.filePath(QStringLiteral("local.db"));
    {
        MarrowbellCore::LocalDatabase database(referencePath.toStdString());
        database.open();
    }
    const auto expectedSchema = schemaOf(referencePath);
    ASSERT_FALSE(expectedSchema.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return schemaOf(databasePath()) == expectedSchema; }, startTimeoutMs));

    terminate();
    EXPECT_EQ(process_.exitCode(), 0) << errors_.toStdString();
    EXPECT_TRUE(QFile::exists(xdg("XDG_CACHE_HOME") + QStringLiteral("/usagestatssignalcache")));
}

TEST_F(LaunchTests, ADataFolderThatCannotBeMadeIsShownAndEndsWithAFailureStatus) {
    QDir().mkpath(xdg("XDG_DATA_HOME"));
    QFile blocker(xdg("XDG_DATA_HOME") + QStringLiteral("/Marrowbell"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    start();
    ASSERT_TRUE(waitForError(
        QStringLiteral("cannot start: Failed to create LocalDatabase: Could not create the folder")))
        << errors_.toStdString();
    // The message box waits for the user; a quit signal ends it like its OK button.
    terminate();
    EXPECT_NE(process_.exitCode(), 0);
    EXPECT_FALSE(errors_.contains(QStringLiteral("main window shown")));
}

TEST_F(LaunchTests, ADatabaseThatCannotBeOpenedIsShownAndTheProgramKeepsRunning) {
    QDir().mkpath(xdg("XDG_DATA_HOME") + QStringLiteral("/Marrowbell"));
    QFile garbage(databasePath());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();

    start();
    ASSERT_TRUE(
        waitForError(QStringLiteral("library unavailable: The library file %1 is damaged (file is not a "
                                    "database)")
                         .arg(databasePath())))
        << errors_.toStdString();
    terminate();
    EXPECT_EQ(process_.exitCode(), 0) << errors_.toStdString();
}

TEST_F(LaunchTests, AServiceFileThatCouldBlockOrFloodIsNamedAtOnce) {
    QDir().mkpath(xdg("XDG_CONFIG_HOME") + QStringLiteral("/Marrowbell"));
    ASSERT_EQ(::mkfifo(serviceFilePath().toUtf8().constData(), 0600), 0);
    start();
    ASSERT_TRUE(waitForError(
        QStringLiteral("cannot start: %1 is not a regular file but a named pipe.").arg(serviceFilePath()),
        20000))
        << errors_.toStdString();
    terminate();
    EXPECT_EQ(process_.exitCode(), 1);

    errors_.clear();
    ASSERT_TRUE(QFile::remove(serviceFilePath()));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), serviceFilePath()));
    start();
    ASSERT_TRUE(waitForError(
        QStringLiteral("cannot start: %1 is not a regular file but a device.").arg(serviceFilePath()), 20000))
        << errors_.toStdString();
    terminate();
    EXPECT_EQ(process_.exitCode(), 1);
}

TEST_F(LaunchTests, SigtermDuringStartUpEndsTheProgramAtOnce) {
    // The largest demo library keeps the start busy for many seconds after the store file is made.
    start({QStringLiteral("--demo-songs"), QStringLiteral("1000000")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(databasePath()); }, startTimeoutMs));
    process_.terminate();
    EXPECT_TRUE(process_.waitForFinished(3000)) << "still running 3 s after SIGTERM";
    errors_ += QString::fromUtf8(process_.readAllStandardError());
    EXPECT_FALSE(errors_.contains(QStringLiteral("main window shown"))) << errors_.toStdString();
}

TEST_F(LaunchTests, ASecondLaunchBringsTheFirstToTheFrontAndEnds) {
    start();
    ASSERT_TRUE(waitForError(QStringLiteral("main window shown"))) << errors_.toStdString();

    launch(second_, {});
    ASSERT_TRUE(second_.waitForFinished(startTimeoutMs));
    const QString secondErrors = QString::fromUtf8(second_.readAllStandardError());
    EXPECT_EQ(second_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second_.exitCode(), 0) << secondErrors.toStdString();
    EXPECT_TRUE(secondErrors.contains(QStringLiteral("already running; brought its window to the front")))
        << secondErrors.toStdString();
    EXPECT_FALSE(secondErrors.contains(QStringLiteral("main window shown")));
    EXPECT_TRUE(waitForError(QStringLiteral("brought to the front for another launch")))
        << errors_.toStdString();

    terminate();
    EXPECT_EQ(process_.exitCode(), 0) << errors_.toStdString();
}

TEST_F(LaunchTests, ALockLeftByAKilledInstanceDoesNotStopTheNextLaunch) {
    start();
    ASSERT_TRUE(waitForError(QStringLiteral("main window shown"))) << errors_.toStdString();
    process_.kill();
    ASSERT_TRUE(process_.waitForFinished(startTimeoutMs));

    errors_.clear();
    start();
    EXPECT_TRUE(waitForError(QStringLiteral("main window shown"))) << errors_.toStdString();
    terminate();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
