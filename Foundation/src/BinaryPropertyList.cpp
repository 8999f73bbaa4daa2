#include "BinaryPropertyList.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <string_view>

namespace Foundation::BinaryPropertyList {
namespace {

constexpr std::string_view magic = "bplist00";
constexpr std::size_t trailerSize = 32;

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t width) {
    for (std::size_t i = width; i-- > 0;) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void appendMarker(std::vector<std::uint8_t>& out, std::uint8_t kind, std::size_t count) {
    if (count < 15) {
        out.push_back(static_cast<std::uint8_t>(kind | count));
        return;
    }
    out.push_back(static_cast<std::uint8_t>(kind | 0x0F));
    if (count < 0x100) {
        out.push_back(0x10);
        appendBigEndian(out, count, 1);
    } else if (count < 0x10000) {
        out.push_back(0x11);
        appendBigEndian(out, count, 2);
    } else {
        out.push_back(0x12);
        appendBigEndian(out, count, 4);
    }
}

bool isASCII(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

/// The code point of the UTF-8 sequence at `position`, advancing past it, or nothing when the bytes there
/// are no valid sequence (a stray continuation byte, a cut sequence, an overlong form, a surrogate).
std::optional<std::uint32_t> nextCodePoint(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<unsigned char>(text[position]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || text.size() - position < length) {
        return std::nullopt;
    }
    std::uint32_t codePoint = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t j = 1; j < length; ++j) {
        const auto continuation = static_cast<unsigned char>(text[position + j]);
        if ((continuation & 0xC0) != 0x80) {
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (continuation & 0x3F);
    }
    static constexpr std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000)) {
        return std::nullopt;
    }
    position += length;
    return codePoint;
}

/// The text in UTF-16. Text that is not valid UTF-8 is refused: turning it into other text would change
/// what was stored without a word.
std::vector<std::uint16_t> utf16(std::string_view text) {
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i < text.size();) {
        auto codePoint = nextCodePoint(text, i);
        if (!codePoint) {
            throw PropertyListError("A property list cannot hold text that is not valid UTF-8.");
        }
        if (*codePoint >= 0x10000) {
            *codePoint -= 0x10000;
            units.push_back(static_cast<std::uint16_t>(0xD800 | (*codePoint >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 | (*codePoint & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(*codePoint));
        }
    }
    return units;
}

void appendString(std::vector<std::uint8_t>& out, std::string_view text) {
    if (isASCII(text)) {
        appendMarker(out, 0x50, text.size());
        out.insert(out.end(), text.begin(), text.end());
        return;
    }
    const auto units = utf16(text);
    appendMarker(out, 0x60, units.size());
    for (auto unit : units) {
        appendBigEndian(out, unit, 2);
    }
}

void appendValue(std::vector<std::uint8_t>& out, const PropertyListValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        appendString(out, *text);
    } else if (const auto* flag = std::get_if<bool>(&value)) {
        out.push_back(*flag ? 0x09 : 0x08);
    } else if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        const auto bits = static_cast<std::uint64_t>(*integer);
        const std::size_t exponent = *integer < 0         ? 3
                                     : bits < 0x100       ? 0
                                     : bits < 0x10000     ? 1
                                     : bits < 0x100000000 ? 2
                                                          : 3;
        out.push_back(static_cast<std::uint8_t>(0x10 | exponent));
        appendBigEndian(out, bits, std::size_t{1} << exponent);
    } else if (const auto* real = std::get_if<double>(&value)) {
        out.push_back(0x23);
        appendBigEndian(out, std::bit_cast<std::uint64_t>(*real), 8);
    } else {
        throw PropertyListError("A property list cannot hold this kind of value.");
    }
}

/// Bounds-checked reading of one document.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes)
        : bytes_(bytes) {}

    std::vector<std::pair<std::string, PropertyListValue>> readRootDictionary();

private:
    [[noreturn]] static void corrupt() {
        throw PropertyListError("The data couldn't be read because it isn't in the correct format.");
    }
    std::uint64_t bigEndian(std::size_t offset, std::size_t width) const;
    std::size_t objectOffset(std::uint64_t reference) const;
    /// The element count of the object at `offset` and where its contents start.
    std::pair<std::size_t, std::size_t> countAndStart(std::size_t offset) const;
    std::string readString(std::uint64_t reference) const;
    PropertyListValue readValue(std::uint64_t reference) const;

    std::span<const std::uint8_t> bytes_;
    std::size_t offsetSize_ = 0;
    std::size_t referenceSize_ = 0;
    std::uint64_t objectCount_ = 0;
    std::size_t offsetTable_ = 0;
};

std::uint64_t Reader::bigEndian(std::size_t offset, std::size_t width) const {
    if (width == 0 || width > 8 || offset > bytes_.size() || bytes_.size() - offset < width) {
        corrupt();
    }
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value = (value << 8) | bytes_[offset + i];
    }
    return value;
}

std::size_t Reader::objectOffset(std::uint64_t reference) const {
    if (reference >= objectCount_) {
        corrupt();
    }
    const auto offset =
        bigEndian(offsetTable_ + static_cast<std::size_t>(reference) * offsetSize_, offsetSize_);
    if (offset < magic.size() || offset >= offsetTable_) {
        corrupt();
    }
    return static_cast<std::size_t>(offset);
}

std::pair<std::size_t, std::size_t> Reader::countAndStart(std::size_t offset) const {
    const std::size_t low = bytes_[offset] & 0x0F;
    if (low != 0x0F) {
        return {low, offset + 1};
    }
    const auto intMarker = static_cast<std::uint8_t>(bigEndian(offset + 1, 1));
    if ((intMarker & 0xF0) != 0x10 || (intMarker & 0x0F) > 3) {
        corrupt();
    }
    const std::size_t width = std::size_t{1} << (intMarker & 0x0F);
    const auto count = bigEndian(offset + 2, width);
    if (count > bytes_.size()) {
        corrupt();
    }
    return {static_cast<std::size_t>(count), offset + 2 + width};
}

std::string Reader::readString(std::uint64_t reference) const {
    const auto offset = objectOffset(reference);
    const auto kind = bytes_[offset] & 0xF0;
    const auto [count, start] = countAndStart(offset);
    if (kind == 0x50) {
        // An ASCII string with a byte above 0x7F is damaged: read raw, it would be other text.
        if (start > bytes_.size() || bytes_.size() - start < count ||
            std::any_of(bytes_.begin() + static_cast<std::ptrdiff_t>(start),
                        bytes_.begin() + static_cast<std::ptrdiff_t>(start + count),
                        [](std::uint8_t byte) { return byte >= 0x80; })) {
            corrupt();
        }
        return std::string(reinterpret_cast<const char*>(bytes_.data() + start), count);
    }
    if (kind != 0x60 || start > bytes_.size() || (bytes_.size() - start) / 2 < count) {
        corrupt();
    }
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t codePoint = static_cast<std::uint32_t>(bigEndian(start + 2 * i, 2));
        if (codePoint >= 0xD800 && codePoint < 0xDC00 && i + 1 < count) {
            const auto low = static_cast<std::uint32_t>(bigEndian(start + 2 * (i + 1), 2));
            if (low >= 0xDC00 && low < 0xE000) {
                codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (codePoint >= 0xD800 && codePoint < 0xE000) {
            codePoint = 0xFFFD;
        }
        if (codePoint < 0x80) {
            text += static_cast<char>(codePoint);
        } else if (codePoint < 0x800) {
            text += static_cast<char>(0xC0 | (codePoint >> 6));
            text += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else if (codePoint < 0x10000) {
            text += static_cast<char>(0xE0 | (codePoint >> 12));
            text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (codePoint >> 18));
            text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (codePoint & 0x3F));
        }
    }
    return text;
}

PropertyListValue Reader::readValue(std::uint64_t reference) const {
    const auto offset = objectOffset(reference);
    const auto marker = bytes_[offset];
    switch (marker & 0xF0) {
    case 0x00:
        if (marker == 0x08 || marker == 0x09) {
            return marker == 0x09;
        }
        return PropertyListUnsupported{};
    case 0x10: {
        const std::size_t width = std::size_t{1} << (marker & 0x0F);
        if (width > 8) {
            return PropertyListUnsupported{};
        }
        return static_cast<std::int64_t>(bigEndian(offset + 1, width));
    }
    case 0x20: {
        const std::size_t width = std::size_t{1} << (marker & 0x0F);
        if (width == 4) {
            return static_cast<double>(
                std::bit_cast<float>(static_cast<std::uint32_t>(bigEndian(offset + 1, 4))));
        }
        if (width == 8) {
            return std::bit_cast<double>(bigEndian(offset + 1, 8));
        }
        corrupt();
    }
    case 0x50:
    case 0x60:
        return readString(reference);
    default:
        return PropertyListUnsupported{};
    }
}

std::vector<std::pair<std::string, PropertyListValue>> Reader::readRootDictionary() {
    if (bytes_.size() < magic.size() + trailerSize ||
        std::memcmp(bytes_.data(), magic.data(), magic.size()) != 0) {
        corrupt();
    }
    const std::size_t trailer = bytes_.size() - trailerSize;
    offsetSize_ = static_cast<std::size_t>(bigEndian(trailer + 6, 1));
    referenceSize_ = static_cast<std::size_t>(bigEndian(trailer + 7, 1));
    objectCount_ = bigEndian(trailer + 8, 8);
    const auto topObject = bigEndian(trailer + 16, 8);
    const auto tableOffset = bigEndian(trailer + 24, 8);
    if (offsetSize_ == 0 || offsetSize_ > 8 || referenceSize_ == 0 || referenceSize_ > 8 ||
        tableOffset > trailer || objectCount_ > (trailer - tableOffset) / offsetSize_) {
        corrupt();
    }
    offsetTable_ = static_cast<std::size_t>(tableOffset);
    const auto rootOffset = objectOffset(topObject);
    if ((bytes_[rootOffset] & 0xF0) != 0xD0) {
        throw PropertyListError("Expected to decode a dictionary but found another kind of property list.");
    }
    const auto [count, start] = countAndStart(rootOffset);
    if (count > objectCount_) {
        corrupt();
    }
    std::vector<std::pair<std::string, PropertyListValue>> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto keyReference = bigEndian(start + i * referenceSize_, referenceSize_);
        const auto valueReference = bigEndian(start + (count + i) * referenceSize_, referenceSize_);
        entries.emplace_back(readString(keyReference), readValue(valueReference));
    }
    return entries;
}

} // namespace

std::vector<std::uint8_t> encode(const std::vector<std::pair<std::string, PropertyListValue>>& entries) {
    const std::size_t objectCount = 1 + 2 * entries.size();
    if (objectCount > 0xFF) {
        throw PropertyListError("The property list has too many entries.");
    }
    std::vector<std::uint8_t> out(magic.begin(), magic.end());
    out.reserve(256);
    std::vector<std::size_t> offsets;
    offsets.reserve(objectCount);

    offsets.push_back(out.size());
    appendMarker(out, 0xD0, entries.size());
    for (std::size_t i = 0; i < 2 * entries.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(1 + i));
    }
    for (const auto& entry : entries) {
        offsets.push_back(out.size());
        appendString(out, entry.first);
    }
    for (const auto& entry : entries) {
        offsets.push_back(out.size());
        appendValue(out, entry.second);
    }

    const std::size_t tableOffset = out.size();
    const std::size_t offsetSize = tableOffset < 0x100 ? 1 : tableOffset < 0x10000 ? 2 : 4;
    for (auto offset : offsets) {
        appendBigEndian(out, offset, offsetSize);
    }
    out.insert(out.end(), 6, 0);
    out.push_back(static_cast<std::uint8_t>(offsetSize));
    out.push_back(1);
    appendBigEndian(out, objectCount, 8);
    appendBigEndian(out, 0, 8);
    appendBigEndian(out, tableOffset, 8);
    return out;
}

std::vector<std::pair<std::string, PropertyListValue>> decode(std::span<const std::uint8_t> bytes) {
    return Reader(bytes).readRootDictionary();
}

} // namespace Foundation::BinaryPropertyList
