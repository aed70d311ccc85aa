// Unicode into the Windows-1252 code page, the way typed characters reach an ANSI window.
#include <gtest/gtest.h>

#include <string>

#include "text_cp1252.h"

namespace {

TEST(TextCp1252, EveryByteComesBackFromItsUtf8) {
  for (int b = 0; b < 256; ++b) {
    std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(plat::utf8_to_cp1252(plat::cp1252_to_utf8(byte)), byte) << "byte " << b;
  }
}

TEST(TextCp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(plat::utf8_to_cp1252("caf\xC3\xA9 \xC3\xA8"), "caf\xE9 \xE8");
  // The euro sign and the curly quotes live in 0x80..0x9F, where Latin-1 has control characters.
  EXPECT_EQ(plat::utf8_to_cp1252("\xE2\x82\xAC\xE2\x80\x9C"), "\x80\x93");
  EXPECT_EQ(plat::utf8_to_cp1252("\xC2\x80"), "?");  // U+0080 is no Windows-1252 character
  // Cyrillic ka, a CJK ideograph, an emoji (four bytes): one '?' each.
  EXPECT_EQ(plat::utf8_to_cp1252("a\xD0\xBA"
                                 "b\xE4\xB8\xAD"
                                 "c\xF0\x9F\x98\x80"
                                 "d"),
            "a?b?c?d");
  EXPECT_EQ(plat::cp1252_from_unicode(0x0160), '\x8A');
  EXPECT_EQ(plat::cp1252_from_unicode(0x0100), '?');
}

TEST(TextCp1252, MalformedUtf8BecomesQuestionMarksAndDecodingGoesOn) {
  EXPECT_EQ(plat::utf8_to_cp1252("x\xC3"), "x?");               // cut off at the end
  EXPECT_EQ(plat::utf8_to_cp1252("\xC3(z"), "?(z");             // no continuation byte
  EXPECT_EQ(plat::utf8_to_cp1252("\x80\xBFz"), "??z");          // stray continuation bytes
  EXPECT_EQ(plat::utf8_to_cp1252("\xC0\xAF"), "??");            // overlong '/'
  EXPECT_EQ(plat::utf8_to_cp1252("\xE0\x80\xAF"), "???");       // overlong in three bytes
  EXPECT_EQ(plat::utf8_to_cp1252("\xED\xA0\x80"), "???");       // a surrogate
  EXPECT_EQ(plat::utf8_to_cp1252("\xF4\x90\x80\x80"), "????");  // beyond U+10FFFF
  EXPECT_EQ(plat::utf8_to_cp1252(std::string("\0\xC3\xA9", 3)), std::string("\0\xE9", 2));
}

}  // namespace
