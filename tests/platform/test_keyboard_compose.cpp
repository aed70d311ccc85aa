// The compose state alone, without a display: which locale the environment names, and what dead
// keys type when the table knows no sequence for them or there is no table at all. The sequences of
// the locales' own tables are checked with real key presses in test_keyboard_text.cpp.
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "keyboard_compose.h"

namespace {

// Sets or (nullptr) unsets an environment variable, and puts the old value back when it goes.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

TEST(KeyboardCompose, TheLocaleIsTheFirstOfLcAllLcCtypeAndLangThatIsSet) {
  struct Case {
    const char *lc_all, *lc_ctype, *lang, *locale;
  };
  const Case cases[] = {
      {"cs_CZ.UTF-8", "pl_PL.UTF-8", "pt_BR.UTF-8", "cs_CZ.UTF-8"},
      {"", "pl_PL.UTF-8", "pt_BR.UTF-8", "pl_PL.UTF-8"},
      {nullptr, nullptr, "pt_BR.UTF-8", "pt_BR.UTF-8"},
      {nullptr, "", nullptr, "C"},
  };
  for (const Case& c : cases) {
    ScopedEnv all("LC_ALL", c.lc_all), ctype("LC_CTYPE", c.lc_ctype), lang("LANG", c.lang);
    EXPECT_EQ(plat::keyboard_compose_locale(), c.locale);
  }
}

// A user's compose file (XCOMPOSEFILE) that knows only dead_acute e, or no file at all (the locale
// files moved away too): the dead keys without a sequence still type their accent before the next
// key, as on Windows.
TEST(KeyboardCompose, DeadKeysOutsideTheTableTypeTheirAccentBeforeTheNextKey) {
  std::string file = testing::TempDir() + "keyboard_compose_Compose";
  std::ofstream(file) << "<dead_acute> <e> : \"\u00E9\"\n";
  struct Case {
    std::string compose_file;
    std::vector<uint32_t> keys;
    std::vector<std::string> typed;  // per key, UTF-8
  };
  const Case cases[] = {
      {file, {XKB_KEY_dead_acute, XKB_KEY_e}, {"", "\u00E9"}},
      {file, {XKB_KEY_dead_ogonek, XKB_KEY_Shift_L, XKB_KEY_q}, {"", "", "?q"}},
      {file, {XKB_KEY_dead_acute, XKB_KEY_dead_grave, XKB_KEY_e}, {"", "\u00B4`", "e"}},
      {"/nonexistent/Compose", {XKB_KEY_dead_acute, XKB_KEY_e}, {"", "\u00B4e"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.compose_file);
    ScopedEnv compose_file("XCOMPOSEFILE", c.compose_file.c_str());
    ScopedEnv locale_files("XLOCALEDIR", "/nonexistent");
    plat::KeyboardCompose compose("en_US.UTF-8");
    std::vector<std::string> typed;
    for (uint32_t keysym : c.keys)
      typed.push_back(
          compose.press(keysym, keysym < 0x80 ? std::string(1, char(keysym)) : "").utf8);
    EXPECT_EQ(typed, c.typed);
  }
}

}  // namespace
