// The file hand-over request between two starts: what it carries, and what it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/FileHandOver.h"

namespace {

TEST(FileHandOver, Utf8IsCheckedStrictly) {
    struct Case {
        const char* name;
        std::string text;
        bool utf8;
    };
    const Case cases[] = {
        {"ASCII", "/v/clip.avi", true},
        {"two-byte letters", "/v/\xC3\xA9t\xC3\xA9.avi", true},
        {"three bytes", "/\xE2\x82\xAC", true},
        {"four bytes", "/\xF0\x9F\x8E\xAC", true},
        {"largest code point", "\xF4\x8F\xBF\xBF", true},
        {"a stray continuation byte", "/v/\x80.avi", false},
        {"Latin-1", "/v/\xE9t\xE9.avi", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"a surrogate", "\xED\xA0\x80", false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", false},
        {"cut short at the end", "/v/\xE2\x82", false},
        {"0xFF", "\xFF", false},
    };
    for (const Case& c : cases) EXPECT_EQ(rt::IsUtf8(c.text), c.utf8) << c.name;
}

TEST(FileHandOver, NamesTravelUnchanged) {
    const std::vector<std::string> names = {"/v/clip.avi",
                                            "/v/a b%c.mpg",
                                            "/v/tab\there",
                                            "/v/\xC3\xA9t\xC3\xA9.avi",
                                            "/",
                                            std::string("/") + std::string(5000, 'x')};
    for (const std::string& name : names) {
        const std::string line = rt::FormatOpenRequest(name);
        ASSERT_FALSE(line.empty()) << name;
        EXPECT_EQ(line.back(), '\n');
        // Nothing in the line but the verb's space and its LF is a blank or a control byte.
        EXPECT_EQ(line.find_first_of(" \t\r\n"), 4u);
        EXPECT_EQ(line.find_first_of("\t\r\n", 5), line.size() - 1);
        EXPECT_EQ(rt::ParseOpenRequest(line.substr(0, line.size() - 1)), name);
    }
    EXPECT_EQ(rt::FormatOpenRequest("/a b"), "open /a%20b\n");
}

TEST(FileHandOver, RefusesWhatIsNotAFileHandOver) {
    struct Case {
        const char* name;
        std::string line;
    };
    const Case cases[] = {
        {"empty", ""},
        {"no name", "open "},
        {"the verb alone", "open"},
        {"another verb", "close /v/clip.avi"},
        {"upper-case verb", "OPEN /v/clip.avi"},
        {"a message number", "5120"},
        {"a relative name", "open clip.avi"},
        {"a raw blank", "open /v/a b.avi"},
        {"a raw control byte", "open /v/\x01.avi"},
        {"an escaped NUL", "open /v/%00.avi"},
        {"a bad escape", "open /v/%zz.avi"},
        {"an escape cut short", "open /v/%4"},
        {"not UTF-8", "open /v/\xE9t\xE9.avi"},
        {"escaped not UTF-8", "open /v/%E9.avi"},
        {"over the line cap", "open /" + std::string(rt::kMaxHandOverLine, 'a')},
        {"garbage", "\x01\x02\xFF hello"},
    };
    for (const Case& c : cases) EXPECT_FALSE(rt::ParseOpenRequest(c.line)) << c.name;
    // Names that cannot be sent are not formatted either.
    const std::vector<std::string> unsendable = {
        std::string(), std::string("clip.avi"), std::string("/v/\xE9.avi"),
        std::string("/v/a\0b", 6), "/" + std::string(rt::kMaxHandOverLine, 'a')};
    for (const std::string& name : unsendable) EXPECT_EQ(rt::FormatOpenRequest(name), "") << name;
}

}  // namespace
