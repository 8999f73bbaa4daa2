#include "Lists/GlyphPainting.h"
#include "Navigation/ContainerKind.h"

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

namespace Marrowbell {
namespace {

// How many pixels of a glyph painted without background came out coloured.
int paintedPixels(const QString& symbolName) {
    QImage image(24, 24, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintGlyph(painter, QRectF(0, 0, 24, 24), symbolName, false, QPalette());
    painter.end();
    int painted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return painted;
}

TEST(GlyphPainting, EverySymbolTheListsAskForIsDrawnAndAnUnknownOneIsNot) {
    QStringList names{QStringLiteral("play.fill"), QStringLiteral("shuffle")};
    for (const ContainerKind kind : allContainerKinds) {
        names << containerKindSymbolName(kind);
    }
    for (const QString& name : names) {
        EXPECT_GT(paintedPixels(name), 20) << name.toStdString();
    }
    EXPECT_EQ(paintedPixels(QStringLiteral("no.such.symbol")), 0);
}

} // namespace
} // namespace Marrowbell
