#pragma once

#include <QString>
#include <exception>
#include <optional>
#include <string>

namespace TamselUIKit {

/// Why the image encoder or decoder failed.
enum class CGImageError { invalidSourceData = 0, destinationCreationFailed = 1, imageCreationFailed = 2 };

/// Why `ImageConverter` failed; the value is the code callers see.
enum class ImageConverterError { invalidSource = 0, conversionFailed = 1 };

/// Why `ImageThumbnailGenerator` failed; the value is the code callers see.
enum class ImageThumbnailGeneratorError { invalidSource = 0, thumbnailCreationFailed = 1 };

/// The case with this code, or nothing for a code that does not exist.
std::optional<ImageConverterError> imageConverterErrorFromCode(int code);
std::optional<ImageThumbnailGeneratorError> imageThumbnailGeneratorErrorFromCode(int code);

/// "TamselUIKit." followed by the error type's name.
QString errorDomain(CGImageError error);
QString errorDomain(ImageConverterError error);
QString errorDomain(ImageThumbnailGeneratorError error);

/// What the kit's image operations throw: one case of `Case`, seen from outside as a domain and a code.
template <typename Case> class ImageError : public std::exception {
public:
    explicit ImageError(Case error)
        : error_(error)
        , description_(
              (errorDomain(error) + QStringLiteral(" error ") + QString::number(code())).toStdString()) {}

    Case error() const noexcept { return error_; }
    int code() const noexcept { return static_cast<int>(error_); }
    QString domain() const { return errorDomain(error_); }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    Case error_;
    std::string description_;
};

} // namespace TamselUIKit
