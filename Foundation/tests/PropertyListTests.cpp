#include <Foundation/PropertyList.h>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <plist/plist.h>
#include <random>

namespace Foundation {
namespace {

TEST(PropertyListDictionary, RoundTripsEveryValueKindInBinaryForm) {
    PropertyListDictionary dictionary;
    dictionary.set("text", std::string("caf\u00e9 \"quoted\""));
    dictionary.set("flag", true);
    dictionary.set("negative", std::int64_t{-5});
    dictionary.set("real", 2.5);
    const auto bytes = dictionary.binaryEncoded();
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "bplist00");

    const auto decoded = PropertyListDictionary::decodeBinary(bytes);
    EXPECT_EQ(*decoded.find("text"), PropertyListValue(std::string("caf\u00e9 \"quoted\"")));
    EXPECT_EQ(*decoded.find("flag"), PropertyListValue(true));
    EXPECT_EQ(*decoded.find("negative"), PropertyListValue(std::int64_t{-5}));
    EXPECT_EQ(*decoded.find("real"), PropertyListValue(2.5));
    EXPECT_EQ(decoded.find("missing"), nullptr);
}

TEST(PropertyListDictionary, NeverChangesTextSilently) {
    PropertyListDictionary wide;
    wide.set("text", std::string("\U0001F3B5 \u00e9"));
    EXPECT_EQ(*PropertyListDictionary::decodeBinary(wide.binaryEncoded()).find("text"),
              PropertyListValue(std::string("\U0001F3B5 \u00e9")));

    for (const std::string invalid :
         {"a\xff", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "x\x80y"}) {
        PropertyListDictionary dictionary;
        dictionary.set("text", invalid);
        EXPECT_THROW(dictionary.binaryEncoded(), PropertyListError);
    }

    PropertyListDictionary ascii;
    ascii.set("id", std::string("i.1"));
    auto bytes = ascii.binaryEncoded();
    const auto text = std::search(bytes.begin(), bytes.end(), std::begin("i.1"), std::end("i.1") - 1);
    ASSERT_NE(text, bytes.end());
    *text = 0xE9;
    EXPECT_THROW(PropertyListDictionary::decodeBinary(bytes), PropertyListError);
}

TEST(PropertyListDictionary, RejectsBytesThatAreNotADictionary) {
    const std::vector<std::uint8_t> garbage{1, 2, 3, 4, 5};
    EXPECT_THROW(PropertyListDictionary::decodeBinary(garbage), PropertyListError);
    EXPECT_THROW(PropertyListDictionary::decodeBinary({}), PropertyListError);
}

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};

std::string stringOf(plist_t node) {
    char* text = nullptr;
    plist_get_string_val(node, &text);
    std::string result = text ? text : "";
    std::free(text);
    return result;
}

TEST(BinaryPropertyListFormat, IsReadableByTheSystemLibrary) {
    PropertyListDictionary dictionary;
    dictionary.set("ascii", std::string("plain"));
    dictionary.set("unicode", std::string("\u6771\u4eac \U0001F3B5 caf\u00e9"));
    dictionary.set("flag", false);
    dictionary.set("big", std::int64_t{5000000000});
    const auto bytes = dictionary.binaryEncoded();

    plist_t parsed = nullptr;
    plist_from_bin(reinterpret_cast<const char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()),
                   &parsed);
    std::unique_ptr<void, PlistFree> root(parsed);
    ASSERT_TRUE(root);
    EXPECT_EQ(stringOf(plist_dict_get_item(root.get(), "ascii")), "plain");
    EXPECT_EQ(stringOf(plist_dict_get_item(root.get(), "unicode")), "\u6771\u4eac \U0001F3B5 caf\u00e9");
    std::uint8_t flag = 1;
    plist_get_bool_val(plist_dict_get_item(root.get(), "flag"), &flag);
    EXPECT_EQ(flag, 0);
    std::uint64_t big = 0;
    plist_get_uint_val(plist_dict_get_item(root.get(), "big"), &big);
    EXPECT_EQ(big, 5000000000u);
}

TEST(BinaryPropertyListFormat, ReadsWhatTheSystemLibraryWrites) {
    std::unique_ptr<void, PlistFree> root(plist_new_dict());
    plist_dict_set_item(root.get(), "id", plist_new_string("i.\u00e9\U0001F3B5"));
    plist_dict_set_item(root.get(), "isLibrary", plist_new_bool(1));
    plist_dict_set_item(root.get(), "real", plist_new_real(0.5));
    plist_dict_set_item(root.get(), "nested", plist_new_array());
    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(root.get(), &bytes, &length);
    const std::vector<std::uint8_t> data(bytes, bytes + length);
    plist_to_bin_free(bytes);

    const auto decoded = PropertyListDictionary::decodeBinary(data);
    EXPECT_EQ(*decoded.find("id"), PropertyListValue(std::string("i.\u00e9\U0001F3B5")));
    EXPECT_EQ(*decoded.find("isLibrary"), PropertyListValue(true));
    EXPECT_EQ(*decoded.find("real"), PropertyListValue(0.5));
    EXPECT_EQ(*decoded.find("nested"), PropertyListValue(PropertyListUnsupported{}));
}

TEST(BinaryPropertyListFormat, DamagedBytesFailCleanly) {
    PropertyListDictionary dictionary;
    dictionary.set("id", std::string("i.1"));
    dictionary.set("kind", std::string("song"));
    const auto bytes = dictionary.binaryEncoded();
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        auto damaged = bytes;
        damaged.resize(random() % (bytes.size() + 1));
        for (auto& byte : damaged) {
            if (random() % 8 == 0) {
                byte = static_cast<std::uint8_t>(random());
            }
        }
        try {
            PropertyListDictionary::decodeBinary(damaged);
        } catch (const PropertyListError&) {
        }
    }
}

} // namespace
} // namespace Foundation
