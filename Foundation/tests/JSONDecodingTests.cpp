#include <Foundation/JSONDecoding.h>
#include <gtest/gtest.h>

namespace Foundation {
namespace {

struct Item {
    std::string name;
    std::optional<std::int64_t> count;
};

std::vector<Item> decodeItems(std::string_view json) {
    return decodeJSON(json, [](const JSONValue& root) {
        return root.requiredArray("data", [](const JSONValue& element) {
            return element.requiredObject("attributes", [](const JSONValue& attributes) {
                return Item{attributes.requiredString("name"), attributes.optionalInteger("count")};
            });
        });
    });
}

DecodingError failureOf(std::string_view json) {
    try {
        decodeItems(json);
    } catch (const DecodingError& error) {
        return error;
    }
    throw std::logic_error("expected a decoding failure");
}

TEST(JSONDecoding, ReadsRequiredAndOptionalMembers) {
    const auto items = decodeItems(R"({"data":[{"attributes":{"name":"a","count":3.0,"extra":[]}},
                                             {"attributes":{"name":"b","count":null}}]})");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].count, 3);
    EXPECT_FALSE(items[1].count);
}

TEST(JSONDecoding, NamesTheKindAndPathOfTheFirstFault) {
    auto error = failureOf(R"({"data":[{"attributes":{"name":"a"}},{"attributes":{}}]})");
    EXPECT_EQ(error.kind(), DecodingError::Kind::keyNotFound);
    EXPECT_EQ(error.codingPath(), (std::vector<std::string>{"data", "Index 1", "attributes", "name"}));

    error = failureOf(R"({"data":[{"attributes":{"name":null}}]})");
    EXPECT_EQ(error.kind(), DecodingError::Kind::valueNotFound);

    error = failureOf(R"({"data":[{"attributes":{"name":"a","count":"3"}}]})");
    EXPECT_EQ(error.kind(), DecodingError::Kind::typeMismatch);
    EXPECT_EQ(error.codingPath(), (std::vector<std::string>{"data", "Index 0", "attributes", "count"}));

    EXPECT_EQ(failureOf(R"({"data":[{"attributes":{"name":"a","count":1.5}}]})").kind(),
              DecodingError::Kind::dataCorrupted);
    EXPECT_EQ(failureOf(R"({"data":[{"attributes":{"name":"a","count":9223372036854775808}}]})").kind(),
              DecodingError::Kind::dataCorrupted);
    EXPECT_EQ(failureOf(R"({"data":[null]})").kind(), DecodingError::Kind::valueNotFound);
    EXPECT_EQ(failureOf(R"({"data":{}})").kind(), DecodingError::Kind::typeMismatch);
    EXPECT_EQ(failureOf(R"({"data":[)").kind(), DecodingError::Kind::dataCorrupted);
}

TEST(JSONDecoding, AnIntegerBeyond64BitsIsOutOfRangeAtItsPathNotInvalidText) {
    for (const char* number : {"18446744073709551616", "-9223372036854775809", "18446744073709551615",
                               "123456789012345678901234567890"}) {
        const auto error =
            failureOf(std::string(R"({"data":[{"attributes":{"name":"a","count":)") + number + "}}]}");
        EXPECT_EQ(error.kind(), DecodingError::Kind::dataCorrupted) << number;
        EXPECT_EQ(error.codingPath(), (std::vector<std::string>{"data", "Index 0", "attributes", "count"}))
            << number;
        EXPECT_NE(std::string(error.what()).find("out of range"), std::string::npos) << error.what();
    }
    // Only where an integer is wanted: elsewhere, and inside a text, such a number is no fault.
    const auto items = decodeItems(
        R"({"data":[{"attributes":{"name":"x\"18446744073709551616","extra":-18446744073709551616e0,
             "more":[18446744073709551616]}}],"total":18446744073709551616})");
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, "x\"18446744073709551616");
    EXPECT_EQ(failureOf(R"({"data":[{"attributes":{"name":"a","count":1.5}}]})").debugDescription(),
              "Parsed JSON number is not an integer.");
    EXPECT_EQ(failureOf(R"({"data":[18446744073709551616)").codingPath(), std::vector<std::string>{});
}

} // namespace
} // namespace Foundation

#include <Foundation/JSONText.h>

namespace Foundation {
namespace {

TEST(JSONText, QuotedTextReadsBackUnchanged) {
    const std::string text = "plain \"quoted\" back\\slash \n\t\x01 caf\u00e9";
    EXPECT_EQ(jsonQuoted("plain"), "\"plain\"");
    EXPECT_EQ(jsonQuoted("a\x01"), "\"a\\u0001\"");
    EXPECT_EQ(decodeJSON(jsonQuoted(text), [](const JSONValue& value) { return value.string(); }), text);
}

} // namespace
} // namespace Foundation
