#include "Library/LocalizedStandardComparison.h"

#include <QCollator>
#include <QStringDecoder>
#include <vector>

namespace Marrowbell {
namespace {

/// A text's UTF-16 form in a buffer that is reused, so that a comparison allocates nothing.
class Utf16Scratch {
public:
    QStringView convert(std::string_view utf8) {
        // UTF-16 never needs more code units than UTF-8 has bytes.
        if (buffer_.size() < utf8.size()) {
            buffer_.resize(utf8.size());
        }
        if (widenASCII(utf8)) {
            return QStringView(buffer_.data(), qsizetype(utf8.size()));
        }
        auto* begin = reinterpret_cast<QChar*>(buffer_.data());
        const auto* end = decoder_.appendToBuffer(begin, QByteArrayView(utf8.data(), qsizetype(utf8.size())));
        return QStringView(begin, end - begin);
    }

private:
    bool widenASCII(std::string_view utf8) {
        for (std::size_t index = 0; index < utf8.size(); ++index) {
            const auto byte = static_cast<unsigned char>(utf8[index]);
            if (byte >= 0x80) {
                return false;
            }
            buffer_[index] = byte;
        }
        return true;
    }

    std::vector<char16_t> buffer_;
    QStringDecoder decoder_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

/// The calling thread's collator for one locale, set up once, with room for both texts.
struct ThreadCollation {
    explicit ThreadCollation(const QLocale& localeToUse)
        : locale(localeToUse)
        , collator(localeToUse) {
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    // Compared on every call: unlike QCollator::locale(), this takes no copy, so threads share no counter.
    QLocale locale;
    QCollator collator;
    Utf16Scratch lhs;
    Utf16Scratch rhs;
};

/// The C locale's collator compares code units, ignoring the numeric mode; the root collation (which English
/// uses untailored) keeps numbers by value where no locale is set.
QLocale collationLocale(const QLocale& locale) {
    return locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : locale;
}

ThreadCollation& threadCollation(const QLocale& locale) {
    thread_local std::optional<ThreadCollation> collation;
    if (!collation || collation->locale != locale) {
        collation.emplace(locale);
    }
    return *collation;
}

} // namespace

LocalizedStandardComparison::LocalizedStandardComparison(QLocale locale)
    : locale_(collationLocale(locale)) {}

std::weak_ordering LocalizedStandardComparison::operator()(std::string_view lhs, std::string_view rhs) const {
    // Sorting by album or artist compares equal texts most of the time, and equal texts are the collator's
    // slowest case: it has to walk every level to the end.
    if (lhs == rhs) {
        return std::weak_ordering::equivalent;
    }
    auto& collation = threadCollation(locale_);
    const int order = collation.collator.compare(collation.lhs.convert(lhs), collation.rhs.convert(rhs));
    return order < 0 ? std::weak_ordering::less
                     : (order > 0 ? std::weak_ordering::greater : std::weak_ordering::equivalent);
}

} // namespace Marrowbell
