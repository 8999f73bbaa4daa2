#include "Platform/Defaults.h"
#include "Service/ActiveService.h"

#include <MusicKit/ServiceConfiguration.h>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

/// The user's service.json, written for one test and removed after it.
class ActiveServiceTests : public testing::Test {
protected:
    void TearDown() override { std::filesystem::remove(MusicKit::ServiceConfiguration::userFilePath()); }

    static void writeServiceFile(const QString& displayName) {
        const auto path = MusicKit::ServiceConfiguration::userFilePath();
        std::filesystem::create_directories(path.parent_path());
        QFile file(QString::fromStdString(path.string()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral(R"({"apiBase": "http://127.0.0.1:9", "developerToken": "d", "userToken": "u",)"
                           R"( "storefront": "us", "displayName": "%1"})")
                .arg(displayName)
                .toUtf8());
    }

    QString displayNameOf(const QString& written) {
        writeServiceFile(written);
        return ActiveService(defaults).displayName();
    }

    QTemporaryDir folder;
    Defaults defaults{folder.filePath(QStringLiteral("Marrowbell.conf"))};
};

TEST_F(ActiveServiceTests, TheDisplayNameIsTrimmedAndCutAtACharacterBoundary) {
    EXPECT_EQ(displayNameOf(QStringLiteral("  Riverside Radio \\n")), QStringLiteral("Riverside Radio"));
    EXPECT_EQ(displayNameOf(QStringLiteral(" ")), QStringLiteral("127.0.0.1"))
        << "a blank name names the host";

    const QString longest(ActiveService::displayNameLimit, u'n');
    EXPECT_EQ(displayNameOf(longest), longest);

    // A thumbs-up with a skin tone, four UTF-16 units, straddles the cut and goes whole.
    const QString straddling =
        QString(254, u'x') + QStringLiteral("\U0001F44D\U0001F3FD") + QString(100000, u'y');
    EXPECT_EQ(displayNameOf(straddling), QString(254, u'x') + QChar(0x2026));
    EXPECT_EQ(displayNameOf(QString(ActiveService::displayNameLimit + 1, u'z')),
              QString(ActiveService::displayNameLimit - 1, u'z') + QChar(0x2026));
}

TEST_F(ActiveServiceTests, TheDemoServiceKeepsItsPortWhileItIsFreeSoThatStoredAddressesStillWork) {
    const auto portOf = [this] {
        ActiveService service(defaults, 20);
        EXPECT_TRUE(service.isDemo());
        return QUrl(QString::fromStdString(service.configuration().apiBase)).port();
    };
    const int first = portOf();
    ASSERT_GT(first, 0);
    EXPECT_EQ(portOf(), first);

    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress(QStringLiteral("127.0.0.1")), static_cast<quint16>(first)));
    const int second = portOf();
    EXPECT_GT(second, 0) << "a taken port makes way for a free one";
    EXPECT_NE(second, first);
    squatter.close();
    EXPECT_EQ(portOf(), second);
}

} // namespace
} // namespace Marrowbell
