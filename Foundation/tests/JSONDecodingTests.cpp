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
