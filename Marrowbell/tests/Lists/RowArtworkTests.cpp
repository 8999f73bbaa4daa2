#include "../Artwork/LocalHttpServer.h"
#include "Artwork/ArtworkPainting.h"
#include "ListTestFixture.h"

namespace Marrowbell::Testing {
namespace {

using RowArtworkTests = ListTest;

LocalHttpServer::Answer redOrMissing(const QByteArray& path) {
    if (path == "/red.png") {
        return {200, "image/png", solidPNG(Qt::red, {64, 64})};
    }
    return {404, "text/plain", "not found"};
}

TEST_F(RowArtworkTests, ARowPaintsItsLoadedArtworkOrThePlaceholderAndHoveringDarkensIt) {
    LocalHttpServer server(redOrMissing);
    std::vector<TestRow> rows = numberedRows(2);
    rows[0].artwork = server.url(QStringLiteral("/red.png"));
    rows[1].artwork = server.url(QStringLiteral("/missing.png"));
    makeList(std::move(rows));
    // Away from the play glyph that hovering draws in the middle.
    const auto shownColor = [&](int row) {
        const QPoint point = artworkCenter(row) - QPoint(0, 12);
        return list->viewport()->grab().toImage().pixelColor(point);
    };

    EXPECT_TRUE(QTest::qWaitFor([&] { return shownColor(0) == QColor(Qt::red); }, 10'000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return shownColor(1) == artworkBackgroundColor(list->viewport()->palette()); }, 10'000))
        << "a failed load shows the placeholder";

    QTest::mouseMove(list->viewport(), artworkCenter(0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->cellPainter()->hoveredRow() == 0; }, 2000));
    EXPECT_LT(shownColor(0).red(), 160) << "the play button darkens the artwork";
}

} // namespace
} // namespace Marrowbell::Testing
