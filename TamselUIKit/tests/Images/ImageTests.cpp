#include "TamselUIKit/ImageCoding.h"
#include "TamselUIKit/ImageConverter.h"
#include "TamselUIKit/ImageErrors.h"
#include "TamselUIKit/ImageThumbnailGenerator.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace TamselUIKit;

namespace {

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QImage filled(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// A landscape picture, red on its left half and blue on its right.
QImage redLeftBlueRight(int width, int height) {
    QImage image = filled(width, height, Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

void appendBigEndian16(QByteArray& bytes, quint16 value) {
    bytes.append(char(value >> 8)).append(char(value & 0xFF));
}

void appendBigEndian32(QByteArray& bytes, quint32 value) {
    appendBigEndian16(bytes, quint16(value >> 16));
    appendBigEndian16(bytes, quint16(value & 0xFFFF));
}

// An APP1 segment whose EXIF data holds nothing but the orientation tag.
QByteArray exifOrientationSegment(quint16 orientation) {
    QByteArray tiff("MM");
    appendBigEndian16(tiff, 0x002A);
    appendBigEndian32(tiff, 8); // the first directory follows the header
    appendBigEndian16(tiff, 1); // one entry
    appendBigEndian16(tiff, 0x0112);
    appendBigEndian16(tiff, 3); // SHORT
    appendBigEndian32(tiff, 1);
    appendBigEndian16(tiff, orientation);
    appendBigEndian16(tiff, 0);
    appendBigEndian32(tiff, 0); // no further directory
    const QByteArray payload = QByteArray("Exif", 4) + QByteArray(2, '\0') + tiff;
    QByteArray segment("\xFF\xE1", 2);
    appendBigEndian16(segment, quint16(payload.size() + 2));
    return segment + payload;
}

template <typename Case, typename Operation> ImageError<Case> errorOf(Operation operation) {
    try {
        operation();
    } catch (const ImageError<Case>& error) {
        return error;
    }
    ADD_FAILURE() << "no error thrown";
    return ImageError<Case>(Case{});
}

bool isReddish(QRgb pixel) {
    return qRed(pixel) > 180 && qBlue(pixel) < 80;
}

bool isBluish(QRgb pixel) {
    return qBlue(pixel) > 180 && qRed(pixel) < 80;
}

} // namespace

TEST(ImageThumbnailGenerator, ReducesTheLongerSideKeepingTheAspectRatio) {
    const QImage large = filled(4000, 3000, Qt::darkCyan);
    EXPECT_EQ(
        ImageThumbnailGenerator::createThumbnailOfImageWithSourceData(encoded(large, "png"), 100).size(),
        QSize(100, 75));

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.jpeg"));
    ASSERT_TRUE(large.save(path, "jpeg"));
    EXPECT_EQ(ImageThumbnailGenerator::createThumbnailOfImageAtURL(QUrl::fromLocalFile(path), 100).size(),
              QSize(100, 75));

    const QImage portrait = filled(30, 4000, Qt::darkCyan);
    EXPECT_EQ(
        ImageThumbnailGenerator::createThumbnailOfImageWithSourceData(encoded(portrait, "png"), 100).size(),
        QSize(1, 100));
}

TEST(ImageThumbnailGenerator, NeverEnlargesASmallImage) {
    const QByteArray small = encoded(filled(50, 40, Qt::yellow), "png");
    EXPECT_EQ(ImageThumbnailGenerator::createThumbnailOfImageWithSourceData(small, 100).size(),
              QSize(50, 40));
}

TEST(ImageThumbnailGenerator, TurnsAnExifRotatedJpegUpright) {
    // Stored landscape with orientation 6: shown turned a quarter clockwise, so the stored left half (red)
    // is the top of the upright picture.
    QByteArray jpeg = encoded(redLeftBlueRight(40, 20), "jpeg");
    ASSERT_TRUE(jpeg.startsWith("\xFF\xD8"));
    jpeg.insert(2, exifOrientationSegment(6));

    const QImage thumbnail = ImageThumbnailGenerator::createThumbnailOfImageWithSourceData(jpeg, 100);

    ASSERT_EQ(thumbnail.size(), QSize(20, 40));
    EXPECT_TRUE(isReddish(thumbnail.pixel(10, 5)));
    EXPECT_TRUE(isBluish(thumbnail.pixel(10, 35)));
    // Decoding keeps the stored orientation.
    EXPECT_EQ(decodeImage(jpeg).size(), QSize(40, 20));
}

TEST(ImageThumbnailGenerator, ReportsUnreadableInputsAndBadLimitsWithTheirCodes) {
    const auto notAnImage = errorOf<ImageThumbnailGeneratorError>(
        [] { ImageThumbnailGenerator::createThumbnailOfImageWithSourceData("plain text, no picture", 64); });
    EXPECT_EQ(notAnImage.code(), 0);
    EXPECT_EQ(notAnImage.domain(), QStringLiteral("TamselUIKit.ImageThumbnailGeneratorError"));

    const auto missingFile = errorOf<ImageThumbnailGeneratorError>([] {
        ImageThumbnailGenerator::createThumbnailOfImageAtURL(
            QUrl::fromLocalFile(QStringLiteral("/no/such.png")), 64);
    });
    EXPECT_EQ(missingFile.error(), ImageThumbnailGeneratorError::invalidSource);

    const QByteArray png = encoded(filled(8, 8, Qt::green), "png");
    const auto truncated = errorOf<ImageThumbnailGeneratorError>(
        [&] { ImageThumbnailGenerator::createThumbnailOfImageWithSourceData(png.left(40), 64); });
    EXPECT_EQ(truncated.code(), 1);

    for (const int limit : {0, -5}) {
        const auto badLimit = errorOf<ImageThumbnailGeneratorError>(
            [&] { ImageThumbnailGenerator::createThumbnailOfImageWithSourceData(png, limit); });
        EXPECT_EQ(badLimit.error(), ImageThumbnailGeneratorError::thumbnailCreationFailed);
    }
}

TEST(ImageConverter, ConvertsBytesAndFilesToTheTargetFormat) {
    const QImage picture = redLeftBlueRight(64, 32);
    const QByteArray jpeg =
        ImageConverter::convertImageWithSourceData(encoded(picture, "png"), "png", "jpeg");
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(QImageReader::imageFormat(&buffer), QByteArray("jpeg"));
    EXPECT_EQ(decodeImage(jpeg).size(), picture.size());

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("picture.bmp"));
    ASSERT_TRUE(picture.save(path, "bmp"));
    const QByteArray png = ImageConverter::convertImageAtSourceURL(QUrl::fromLocalFile(path), "bmp", "png");
    EXPECT_EQ(decodeImage(png).convertToFormat(QImage::Format_RGB32), picture);
}

TEST(ImageConverter, ReportsUnreadableInputsAndUnwritableTypesWithTheirCodes) {
    const auto notAnImage = errorOf<ImageConverterError>(
        [] { ImageConverter::convertImageWithSourceData("plain text, no picture", "png", "jpeg"); });
    EXPECT_EQ(notAnImage.code(), 0);
    EXPECT_EQ(notAnImage.domain(), QStringLiteral("TamselUIKit.ImageConverterError"));

    const QByteArray png = encoded(filled(8, 8, Qt::green), "png");
    const auto unwritable = errorOf<ImageConverterError>(
        [&] { ImageConverter::convertImageWithSourceData(png, "png", "nosuchtype"); });
    EXPECT_EQ(unwritable.code(), 1);

    const auto damaged = errorOf<ImageConverterError>(
        [&] { ImageConverter::convertImageWithSourceData(png.left(40), "png", "jpeg"); });
    EXPECT_EQ(damaged.error(), ImageConverterError::conversionFailed);

    EXPECT_EQ(imageConverterErrorFromCode(1), ImageConverterError::conversionFailed);
    EXPECT_EQ(imageConverterErrorFromCode(2), std::nullopt);
    EXPECT_EQ(imageThumbnailGeneratorErrorFromCode(-1), std::nullopt);
}

TEST(ImageCoding, LosslessRoundTripKeepsEveryPixel) {
    const QImage picture = redLeftBlueRight(33, 17);
    EXPECT_EQ(decodeImage(encodedImageData(picture, "png")).convertToFormat(QImage::Format_RGB32), picture);
}

TEST(ImageCoding, ReportsEachFailureWithItsCase) {
    EXPECT_EQ(errorOf<CGImageError>([] { encodedImageData(filled(4, 4, Qt::red), "nosuchtype"); }).error(),
              CGImageError::destinationCreationFailed);
    EXPECT_EQ(errorOf<CGImageError>([] { encodedImageData(QImage(), "png"); }).error(),
              CGImageError::imageCreationFailed);
    EXPECT_EQ(errorOf<CGImageError>([] { decodeImage(QByteArray("not an image")); }).error(),
              CGImageError::invalidSourceData);
    const QByteArray png = encoded(filled(8, 8, Qt::green), "png");
    EXPECT_EQ(errorOf<CGImageError>([&] { decodeImage(png.left(40)); }).error(),
              CGImageError::imageCreationFailed);
}
