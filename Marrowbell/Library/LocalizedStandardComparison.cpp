#include "Library/LocalizedStandardComparison.h"

#include <QCollator>
#include <QStringDecoder>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <unicode/ucol.h>
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

struct CollatorClose {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using KeyCollator = std::unique_ptr<UCollator, CollatorClose>;

/// A collator that makes keys in QCollator's order: its locale, accents told apart but not case, numbers by
/// value, punctuation significant, texts normalized. Null without ICU's data.
KeyCollator keyCollator(const QLocale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    KeyCollator collator(ucol_open(locale.bcp47Name().replace(u'-', u'_').toLatin1().constData(), &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    ucol_setAttribute(collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator.get(), UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    return U_SUCCESS(status) ? std::move(collator) : nullptr;
}

/// The calling thread's collator for one locale, set up once, with room for both texts.
struct ThreadCollation {
    explicit ThreadCollation(const QLocale& localeToUse)
        : locale(localeToUse)
        , collator(localeToUse)
        , keys(keyCollator(localeToUse)) {
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    // Compared on every call: unlike QCollator::locale(), this takes no copy, so threads share no counter.
    QLocale locale;
    QCollator collator;
    KeyCollator keys;
    Utf16Scratch lhs;
    Utf16Scratch rhs;
    std::vector<std::uint8_t> keyScratch;
};

/// ICU's key of `text`, without the zero byte that ends it (no other byte of a key is zero).
std::string collationKey(const UCollator& collator, QStringView text, std::vector<std::uint8_t>& scratch) {
    // Made in a buffer that is reused, then copied at its size: a sort holds hundreds of thousands of keys.
    for (;;) {
        const int length = ucol_getSortKey(&collator, reinterpret_cast<const UChar*>(text.utf16()),
                                           int(text.size()), scratch.data(), int(scratch.size()));
        if (length <= int(scratch.size())) {
            return std::string(reinterpret_cast<const char*>(scratch.data()),
                               std::size_t(std::max(length, 1) - 1));
        }
        scratch.resize(std::size_t(length));
    }
}

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

std::string LocalizedStandardComparison::sortKey(std::string_view text) const {
    // The collator puts an empty text before every other, even one whose characters all collate as nothing;
    // the empty key does the same.
    if (text.empty()) {
        return {};
    }
    auto& collation = threadCollation(locale_);
    const QStringView utf16 = collation.lhs.convert(text);
    if (!collation.keys) {
        // Only without ICU's data, which the collator could not work without either.
        throw std::runtime_error("no collation for " + locale_.bcp47Name().toStdString());
    }
    return collationKey(*collation.keys, utf16, collation.keyScratch);
}

} // namespace Marrowbell
