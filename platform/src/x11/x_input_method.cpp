// The X input method and the input context of each top-level window that gets key presses.
//
// The method is Xlib's built-in one ("@im=none" in the locale modifiers): it reads the compose
// table of the program's current locale (the C locale's covers the Latin-1 letters; a program that
// calls setlocale for a UTF-8 locale gets the full table) and answers at once, so that each key's
// messages keep the order Windows gives them. An input-method server answers later, out of that
// order, and what it adds (scripts beyond Latin) has no place in an ANSI window's code page. The
// layer never calls setlocale; when Xlib does not support the program's locale or no method opens,
// text comes from XLookupString without dead keys.
#include "x_input_method.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstring>
#include <string>

#include "input_keyboard.h"
#include "text_cp1252.h"
#include "window_internal.h"

namespace plat {
namespace {

XIM g_method = nullptr;
bool g_method_tried = false;

XIM input_method(Display* d) {
  if (g_method_tried) return g_method;
  g_method_tried = true;
  if (!XSupportsLocale()) return nullptr;
  // The modifiers are the process's: the program's own are put back once the method is open.
  const char* current = XSetLocaleModifiers(nullptr);
  std::string saved = current ? current : "";
  if (XSetLocaleModifiers("@im=none")) g_method = XOpenIM(d, nullptr, nullptr, nullptr);
  XSetLocaleModifiers(saved.c_str());
  return g_method;
}

XIC input_context(Display* d, WindowObject* top) {
  if (top->native->input_context) return top->native->input_context;
  XIM method = input_method(d);
  if (!method) return nullptr;
  top->native->input_context =
      XCreateIC(method, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                top->native->xwindow, XNFocusWindow, top->native->xwindow, nullptr);
  if (top->native->input_context) XSetICFocus(top->native->input_context);
  return top->native->input_context;
}

KeyPressText lookup_without_method(XKeyEvent& event) {
  KeyPressText text;
  char buffer[16];
  int n = XLookupString(&event, buffer, sizeof buffer, &text.keysym, nullptr);
  // Latin-1, which Windows-1252 spells alike but for the C1 controls, which no key types.
  std::string latin1;
  for (int i = 0; i < n; ++i)
    if (static_cast<unsigned char>(buffer[i]) < 0x80 ||
        static_cast<unsigned char>(buffer[i]) >= 0xA0)
      latin1 += buffer[i];
  text.utf8 = cp1252_to_utf8(latin1);
  // A character keysym beyond Latin-1 that XLookupString cannot spell still types one character;
  // U+FFFD, which no code page holds, makes it the '?' Windows gives.
  bool character = (text.keysym > 0xFF && text.keysym < 0x2100) ||
                   (text.keysym >= 0x1000100 && text.keysym <= 0x110FFFF);
  if (n == 0 && character) text.utf8 = "\xEF\xBF\xBD";
  return text;
}

KeyPressText lookup(XIC context, XKeyEvent& event) {
  KeyPressText text;
  char buffer[64];
  Status status = XLookupNone;
  int n = Xutf8LookupString(context, &event, buffer, sizeof buffer, &text.keysym, &status);
  if (status == XBufferOverflow && n > 0) {
    text.utf8.resize(static_cast<size_t>(n));
    n = Xutf8LookupString(context, &event, text.utf8.data(), n, &text.keysym, &status);
    text.utf8.resize(status == XLookupChars || status == XLookupBoth ? static_cast<size_t>(n) : 0);
  } else if (status == XLookupChars || status == XLookupBoth) {
    text.utf8.assign(buffer, static_cast<size_t>(n));
  }
  if (status != XLookupKeySym && status != XLookupBoth) text.keysym = NoSymbol;
  return text;
}

}  // namespace

KeyPressText x_key_press_text(Display* d, WindowObject* top, XKeyEvent& event) {
  XIC context = top ? input_context(d, top) : nullptr;
  if (!context) return lookup_without_method(event);
  XEvent e;
  std::memset(&e, 0, sizeof e);
  e.xkey = event;
  if (!XFilterEvent(&e, top->native->xwindow)) {
    KeyPressText text = lookup(context, event);
    if (!IsModifierKey(text.keysym)) top->native->dead_key = NoSymbol;  // no sequence was under way
    return text;
  }
  // Taken by the method. The last key of a sequence leaves a press of keycode 0 in front of the
  // queue that carries the result.
  if (XEventsQueued(d, QueuedAlready) > 0) {
    XEvent next;
    XPeekEvent(d, &next);
    if (next.type == KeyPress && next.xkey.keycode == 0) {
      XNextEvent(d, &next);
      top->native->dead_key = NoSymbol;
      return lookup(context, next.xkey);
    }
  }
  // A step of a sequence, or a key that ends one without a result.
  KeyPressText text;
  char ignored[16];
  XLookupString(&event, ignored, sizeof ignored, &text.keysym, nullptr);
  if (keyboard_dead_char(text.keysym)) {
    top->native->dead_key = text.keysym;  // WM_DEADCHAR now, the letter with the next key
    return text;
  }
  KeySym dead = top->native->dead_key;
  top->native->dead_key = NoSymbol;
  if (dead == NoSymbol || text.keysym == XK_Multi_key) return text;
  // A key the dead key does not combine with: the method drops both, Windows types the accent and
  // then the key's own character.
  KeyPressText own = lookup(context, event);
  own.utf8 =
      cp1252_to_utf8(std::string(1, cp1252_from_unicode(keyboard_dead_char(dead)))) + own.utf8;
  return own;
}

void x_input_context_destroy(WindowObject* w) {
  if (!w->native || !w->native->input_context) return;
  XDestroyIC(w->native->input_context);
  w->native->input_context = nullptr;
}

}  // namespace plat
