// What a message box shows, worked out without a display: the text converted, wrapped, measured
// and cut, the buttons with their defaults, keys and escape answer, and the drawn icon.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "icon_image.h"
#include "message_box_text.h"
#include "text_cp1252.h"

namespace {

// One unit per character (code point), so that line breaking can be checked exactly.
int char_count(std::string_view s) {
  int n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace

TEST(MessageBoxText, Windows1252BecomesUtf8) {
  EXPECT_EQ(plat::cp1252_to_utf8("non \xE8 stata"), "non \xC3\xA8 stata");
  EXPECT_EQ(plat::cp1252_to_utf8("\x80\x99\x9F"), "\xE2\x82\xAC\xE2\x84\xA2\xC5\xB8");
  // The five bytes the code page leaves undefined keep their value, as Windows converts them.
  EXPECT_EQ(plat::cp1252_to_utf8("\x81\x8D\x8F\x90\x9D"),
            "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  EXPECT_EQ(plat::cp1252_to_utf8("\xFF"), "\xC3\xBF");
  EXPECT_EQ(plat::cp1252_to_utf8("Settare lo schermo intero?  "), "Settare lo schermo intero?  ");
}

TEST(MessageBoxText, WrapsAtSpacesLineFeedsAndInsideLongWords) {
  using V = std::vector<std::string>;
  EXPECT_EQ(plat::wrap_text("aaa bbb ccc", 7, char_count), (V{"aaa bbb", "ccc"}));
  EXPECT_EQ(plat::wrap_text("aaa\r\nbbb", 100, char_count), (V{"aaa", "bbb"}));
  EXPECT_EQ(plat::wrap_text("abcdefghij", 4, char_count), (V{"abcd", "efgh", "ij"}));
  EXPECT_EQ(plat::wrap_text("ab cdefghij", 4, char_count), (V{"ab", "cdef", "ghij"}));
  EXPECT_EQ(plat::wrap_text("", 10, char_count), (V{""}));
  EXPECT_EQ(plat::wrap_text("a\n\nb", 10, char_count), (V{"a", "", "b"}));
  // Multi-byte characters are never split.
  EXPECT_EQ(plat::wrap_text("\xC3\xA8\xC3\xA8\xC3\xA8", 2, char_count),
            (V{"\xC3\xA8\xC3\xA8", "\xC3\xA8"}));
  // Trailing spaces do not push a line over.
  EXPECT_EQ(plat::wrap_text("intero?  ", 7, char_count), (V{"intero?"}));
}

TEST(MessageBoxText, LongTextIsMeasuredInPiecesAndCutWithAnEllipsis) {
  // A measure that, like Xft's 16-bit advance, wraps around beyond 32767.
  auto wrapping = [](std::string_view s) { return int(int16_t(char_count(s) * 10)); };
  const std::string word(5000, 'w');
  EXPECT_LT(wrapping(word), 0) << "measured whole, the width wraps";
  EXPECT_EQ(plat::measure_in_pieces(word, 256, wrapping), 50000);
  // Pieces end between characters: no character is split in two halves.
  std::string accents;
  for (int i = 0; i < 300; ++i) accents += "\xC3\xA8";
  EXPECT_EQ(plat::measure_in_pieces(accents, 255, char_count), 300);

  using V = std::vector<std::string>;
  EXPECT_EQ(plat::cut_lines(V{"a", "b"}, 2, 10, char_count), (V{"a", "b"}));
  EXPECT_EQ(plat::cut_lines(V{"a", "bb", "c"}, 2, 10, char_count), (V{"a", "bb\xE2\x80\xA6"}));
  // The last line kept gives way to the ellipsis when it is full.
  EXPECT_EQ(plat::cut_lines(V{"abcd", "efgh", "ijkl"}, 2, 4, char_count),
            (V{"abcd", "efg\xE2\x80\xA6"}));
  EXPECT_EQ(plat::cut_lines(V{"a", "b"}, 0, 4, char_count), (V{"a\xE2\x80\xA6"}));
}

TEST(MessageBoxText, ButtonsDefaultsEscapeAndLetters) {
  auto ids = [](UINT type) {
    std::vector<int> v;
    for (auto& b : plat::box_buttons(type)) v.push_back(b.id);
    return v;
  };
  EXPECT_EQ(ids(MB_OK), (std::vector<int>{IDOK}));
  EXPECT_EQ(ids(MB_YESNO | MB_ICONQUESTION), (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(ids(MB_YESNOCANCEL), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
  EXPECT_EQ(ids(MB_RETRYCANCEL), (std::vector<int>{IDRETRY, IDCANCEL}));
  EXPECT_EQ(ids(MB_OKCANCEL), (std::vector<int>{IDOK, IDCANCEL}));
  EXPECT_EQ(ids(0x0F), (std::vector<int>{IDOK}));

  EXPECT_EQ(plat::box_default_button(MB_YESNO), 0u);
  EXPECT_EQ(plat::box_default_button(MB_YESNO | MB_DEFBUTTON2), 1u);
  EXPECT_EQ(plat::box_default_button(MB_YESNOCANCEL | MB_DEFBUTTON3), 2u);
  EXPECT_EQ(plat::box_default_button(MB_YESNO | MB_DEFBUTTON3), 0u);

  EXPECT_EQ(plat::box_escape_result(MB_OK), IDOK);
  EXPECT_EQ(plat::box_escape_result(MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(plat::box_escape_result(MB_YESNOCANCEL), IDCANCEL);
  EXPECT_EQ(plat::box_escape_result(MB_RETRYCANCEL), IDCANCEL);
  EXPECT_EQ(plat::box_escape_result(MB_YESNO | MB_ICONQUESTION), 0);

  EXPECT_EQ(plat::box_button_for_key(MB_YESNO, 'Y'), 0);
  EXPECT_EQ(plat::box_button_for_key(MB_YESNO, 'n'), 1);
  EXPECT_EQ(plat::box_button_for_key(MB_YESNO, 'o'), -1);
  EXPECT_EQ(plat::box_button_for_key(MB_OKCANCEL, 'c'), 1);
}

TEST(MessageBoxIcon, QuestionIconIsACircleWithAQuestionMark) {
  plat::IconImage icon = plat::paint_icon(plat::IconPicture::Question, 32);
  ASSERT_EQ(icon.argb.size(), 32u * 32u);
  auto at = [&](int x, int y) { return icon.argb[static_cast<size_t>(y) * 32 + x]; };
  EXPECT_EQ(at(0, 0) >> 24, 0u) << "corners outside the circle are transparent";
  EXPECT_EQ(at(5, 16), 0xFF2D6FCEu) << "inside the circle, away from the mark";
  EXPECT_EQ(at(16, 18), 0xFFFFFFFFu) << "the stem of the question mark";
  EXPECT_EQ(at(16, 24), 0xFFFFFFFFu) << "its dot";
  EXPECT_EQ(at(16, 21), 0xFF2D6FCEu) << "the gap between stem and dot";
}
