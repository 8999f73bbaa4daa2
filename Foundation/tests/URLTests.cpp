#include <Foundation/URL.h>
#include <gtest/gtest.h>

namespace Foundation {
namespace {

TEST(URLParsing, AcceptsWellFormedReferences) {
    for (const char* text :
         {"https://example.com/a/64x64bb.jpg", "http://127.0.0.1:8080/v1/me/library?ids[songs]=1",
          "https://x.test/a%20b", "/relative/path"}) {
        const auto url = URL::fromString(text);
        ASSERT_TRUE(url) << text;
        EXPECT_EQ(url->absoluteString(), text);
    }
}

TEST(URLParsing, RejectsTextAURLCannotCarry) {
    for (const char* text : {"", "https://x.test/{w}x{h}.jpg", "has space", "https://x.test/%zz",
                             "https://x.test/%4", "1http://x", "https://x.test/\u00e9"}) {
        EXPECT_FALSE(URL::fromString(text)) << text;
    }
}

} // namespace
} // namespace Foundation
