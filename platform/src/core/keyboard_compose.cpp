#include "keyboard_compose.h"

#include <xkbcommon/xkbcommon-compose.h>

#include <cstdlib>

#include "text_cp1252.h"

namespace plat {
namespace {

// The spacing forms of the dead keys that Windows layouts have.
struct DeadKey {
  uint32_t keysym;
  char32_t spacing;
};
constexpr DeadKey kDeadKeys[] = {
    {XKB_KEY_dead_grave, 0x60},      {XKB_KEY_dead_acute, 0xB4},
    {XKB_KEY_dead_circumflex, 0x5E}, {XKB_KEY_dead_tilde, 0x7E},
    {XKB_KEY_dead_macron, 0xAF},     {XKB_KEY_dead_breve, 0x2D8},
    {XKB_KEY_dead_abovedot, 0x2D9},  {XKB_KEY_dead_diaeresis, 0xA8},
    {XKB_KEY_dead_abovering, 0xB0},  {XKB_KEY_dead_doubleacute, 0x2DD},
    {XKB_KEY_dead_caron, 0x2C7},     {XKB_KEY_dead_cedilla, 0xB8},
    {XKB_KEY_dead_ogonek, 0x2DB},
};

// What a dead key types when it combines with nothing: its accent as the code page holds it, or
// the '?' Windows gives for one it does not (the caron, the ogonek).
std::string accent_text(char32_t spacing) {
  return cp1252_to_utf8(std::string(1, cp1252_from_unicode(spacing)));
}

}  // namespace

// Each state has a context and table of its own: xkbcommon counts references without atomics, so
// no object of it is shared between threads.
struct KeyboardCompose::Xkb {
  xkb_context* context = nullptr;
  xkb_compose_table* table = nullptr;
  xkb_compose_state* state = nullptr;
  ~Xkb() {
    xkb_compose_state_unref(state);
    xkb_compose_table_unref(table);
    xkb_context_unref(context);
  }
};

char32_t keyboard_dead_char(uint32_t keysym) {
  for (const DeadKey& k : kDeadKeys)
    if (k.keysym == keysym) return k.spacing;
  return 0;
}

std::string keyboard_compose_locale() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
    if (const char* value = std::getenv(name); value && *value) return value;
  return "C";
}

KeyboardCompose::KeyboardCompose(const std::string& locale) : xkb_(std::make_unique<Xkb>()) {
  // The compose files are found by locale alone: no keymap include paths are wanted.
  xkb_->context = xkb_context_new(static_cast<xkb_context_flags>(XKB_CONTEXT_NO_DEFAULT_INCLUDES |
                                                                 XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
  if (!xkb_->context) return;
  // A locale without a Compose file is no error of the program's; xkbcommon would say it is one.
  xkb_context_set_log_level(xkb_->context, XKB_LOG_LEVEL_CRITICAL);
  for (const char* name : {locale.c_str(), "C"}) {
    xkb_->table =
        xkb_compose_table_new_from_locale(xkb_->context, name, XKB_COMPOSE_COMPILE_NO_FLAGS);
    if (xkb_->table) break;
  }
  // Without the locale files an empty table still tells modifiers from other keys.
  if (!xkb_->table)
    xkb_->table = xkb_compose_table_new_from_buffer(
        xkb_->context, "", 0, "C", XKB_COMPOSE_FORMAT_TEXT_V1, XKB_COMPOSE_COMPILE_NO_FLAGS);
  if (xkb_->table) xkb_->state = xkb_compose_state_new(xkb_->table, XKB_COMPOSE_STATE_NO_FLAGS);
}

KeyboardCompose::~KeyboardCompose() = default;

ComposedKey KeyboardCompose::flush(uint32_t keysym, std::string_view own_utf8) {
  ComposedKey key{pending_, keysym};
  char32_t spacing = keyboard_dead_char(keysym);
  key.utf8 += spacing ? accent_text(spacing) : std::string(own_utf8);
  pending_.clear();
  return key;
}

ComposedKey KeyboardCompose::press(uint32_t keysym, std::string_view own_utf8) {
  xkb_compose_state* state = xkb_->state;
  if (!state) return {std::string(own_utf8), keysym};
  bool was_composing = xkb_compose_state_get_status(state) == XKB_COMPOSE_COMPOSING;
  // Shift and the other modifiers neither end a sequence nor type.
  if (xkb_compose_state_feed(state, keysym) == XKB_COMPOSE_FEED_IGNORED)
    return {std::string(own_utf8), keysym};
  if (!pending_.empty() && !was_composing) {
    // A dead key the table has no sequence for: any key ends it, as a key it does not combine with.
    xkb_compose_state_reset(state);
    return flush(keysym, own_utf8);
  }
  switch (xkb_compose_state_get_status(state)) {
    case XKB_COMPOSE_COMPOSED: {
      pending_.clear();
      char buffer[64];
      int n = xkb_compose_state_get_utf8(state, buffer, sizeof buffer);
      return {std::string(buffer, n > 0 && n < static_cast<int>(sizeof buffer) ? n : 0),
              xkb_compose_state_get_one_sym(state)};
    }
    case XKB_COMPOSE_CANCELLED:
      // Windows types the accent and then the key; a Compose-key sequence has no Windows
      // counterpart and drops the key, as X does.
      if (pending_.empty()) return {};
      return flush(keysym, own_utf8);
    case XKB_COMPOSE_COMPOSING:
    case XKB_COMPOSE_NOTHING:
      break;
  }
  if (char32_t spacing = keyboard_dead_char(keysym)) {
    pending_ += accent_text(spacing);
    return {{}, keysym};  // WM_DEADCHAR now, the accent's fate with the next key
  }
  if (xkb_compose_state_get_status(state) == XKB_COMPOSE_COMPOSING) return {{}, keysym};
  return {std::string(own_utf8), keysym};
}

ComposedKey keyboard_compose_press(uint32_t keysym, std::string_view own_utf8) {
  thread_local KeyboardCompose compose(keyboard_compose_locale());
  return compose.press(keysym, own_utf8);
}

}  // namespace plat
