#include <Foundation/Text.h>
#include <Foundation/UUID.h>
#include <gtest/gtest.h>

namespace Foundation {
namespace {

TEST(CanonicalText, EquivalentFormsAreEqualAndHashAlike) {
    const std::string composed = "Beyonc\u00e9";
    const std::string decomposed = "Beyonce\u0301";
    EXPECT_TRUE(canonicallyEqual(composed, decomposed));
    EXPECT_EQ(canonicalHash(composed), canonicalHash(decomposed));
    EXPECT_FALSE(canonicallyEqual("Beyonce", composed));
    EXPECT_FALSE(canonicallyEqual("abc", "ABC"));
    EXPECT_EQ(compareCanonically(composed, decomposed), 0);
}

TEST(CanonicalText, OrdersByScalarValuesCaseSensitively) {
    EXPECT_LT(compareCanonically("", "A"), 0);
    EXPECT_LT(compareCanonically("Zebra", "apple"), 0);
    EXPECT_LT(compareCanonically("apple", "\u00e9clair"), 0);
}

TEST(Trimming, RemovesUnicodeWhitespaceAndLineBreaksAtBothEnds) {
    EXPECT_EQ(trimmingWhitespaceAndNewlines("  word \t\n"), "word");
    EXPECT_EQ(trimmingWhitespaceAndNewlines("\u00a0\u2003two words\u2028"), "two words");
    EXPECT_EQ(trimmingWhitespaceAndNewlines(" \r\n\t "), "");
    EXPECT_EQ(trimmingWhitespaceAndNewlines("\u00e9t\u00e9"), "\u00e9t\u00e9");
}

TEST(UTF8Repair, ReplacesInvalidSequences) {
    EXPECT_EQ(repairingUTF8("ok\xff!"), "ok\xEF\xBF\xBD!");
    EXPECT_EQ(repairingUTF8("caf\u00e9"), "caf\u00e9");
}

TEST(Replacing, ReplacesEveryOccurrence) {
    EXPECT_EQ(replacingOccurrences("{w}x{h}/{w}", "{w}", "64"), "64x{h}/64");
    EXPECT_EQ(replacingOccurrences("{W}", "{w}", "64"), "{W}");
}

TEST(UUIDText, IsAFreshVersionFourIdentifier) {
    const auto first = makeUUIDString();
    EXPECT_EQ(first.size(), 36u);
    EXPECT_EQ(first[14], '4');
    EXPECT_NE(first, makeUUIDString());
}

} // namespace
} // namespace Foundation
