#include <Foundation/PropertyList.h>

#include <gtest/gtest.h>

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

TEST(PropertyListDictionary, RejectsBytesThatAreNotADictionary) {
    const std::vector<std::uint8_t> garbage{1, 2, 3, 4, 5};
    EXPECT_THROW(PropertyListDictionary::decodeBinary(garbage), PropertyListError);
    EXPECT_THROW(PropertyListDictionary::decodeBinary({}), PropertyListError);
}

} // namespace
} // namespace Foundation
