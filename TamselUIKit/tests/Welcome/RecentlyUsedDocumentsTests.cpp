#include "WelcomeTestFiles.h"

#include <QStandardPaths>
#include <TamselUIKit/RecentlyUsedDocuments.h>
#include <gtest/gtest.h>

namespace TamselUIKit {
namespace {

using namespace Qt::StringLiterals;

TEST(RecentlyUsedDocumentsTest, ListsLocalFilesMostRecentlyUsedFirst) {
    const Testing::RecentFiles files;
    QFile list(files.listPath());
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(R"(<?xml version="1.0"?>
<xbel version="1.0">
  <bookmark href="file:///music/old.txt" added="2025-01-01T00:00:00Z" visited="2025-01-02T00:00:00Z"/>
  <bookmark href="https://example.com/page" added="2026-05-01T00:00:00Z"/>
  <bookmark href="file:///music/new%20mix.m3u" added="2025-01-01T00:00:00Z" modified="2026-03-01T00:00:00.5Z"/>
  <bookmark href="file:///music/middle.txt" added="2025-06-01T00:00:00Z"/>
</xbel>
)");
    list.close();
    EXPECT_EQ(RecentlyUsedDocuments(files.listPath()).recentDocumentURLs(),
              (QList<QUrl>{QUrl(u"file:///music/new mix.m3u"_s), QUrl(u"file:///music/middle.txt"_s),
                           QUrl(u"file:///music/old.txt"_s)}));
}

TEST(RecentlyUsedDocumentsTest, AMissingOrDamagedListHasNoDocuments) {
    const Testing::RecentFiles files;
    EXPECT_TRUE(RecentlyUsedDocuments(files.path(u"absent.xbel"_s)).recentDocumentURLs().isEmpty());
    QFile list(files.listPath());
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(R"(<xbel><bookmark href="file:///a.txt"/><bookmark)");
    list.close();
    EXPECT_TRUE(RecentlyUsedDocuments(files.listPath()).recentDocumentURLs().isEmpty());
}

TEST(RecentlyUsedDocumentsTest, DefaultsToTheDesktopsListInTheDataDirectory) {
    EXPECT_EQ(RecentlyUsedDocuments::defaultPath(),
              QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                  u"/recently-used.xbel"_s);
}

} // namespace
} // namespace TamselUIKit
