// The message sequence of a window's life, as the logging window procedure (message_log.h)
// records it, reduced to what a window procedure written for Windows relies on, and compared with
// an expected sequence. Windows API only: the expectations were recorded under Wine and hold for
// our layer too.
//
// Compared: creation (WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE), placement
// (WM_WINDOWPOSCHANGING/CHANGED, WM_MOVE, WM_SIZE), showing (WM_SHOWWINDOW), activation
// (WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE), focus (WM_SETFOCUS, WM_KILLFOCUS), children
// (WM_PARENTNOTIFY) and destruction (WM_DESTROY, WM_NCDESTROY). Left out: painting (WM_PAINT,
// WM_NCPAINT, WM_ERASEBKGND, WM_SYNCPAINT), which follows the X server's exposures; the input
// method (WM_IME_*), icons, text and hit testing that Wine's user32 and X driver ask for on their
// own (WM_GETICON, WM_GETTEXT, WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_QUERYNEWPALETTE and the
// undocumented 0x0090..0x009F); none of these has a place a program can depend on.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "message_log.h"

namespace zelvo_test {

// The messages compared, with their names.
inline const std::map<UINT, const char*>& sequence_messages() {
  static const std::map<UINT, const char*> names = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
      {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
  };
  return names;
}

// Names the windows of a case ("A", "child", ...) in the rendered sequence.
class SequenceNames {
 public:
  void name(HWND hwnd, const std::string& label) { names_[hwnd] = label; }
  std::string of(HWND hwnd) const {
    if (!hwnd) return "0";
    auto it = names_.find(hwnd);
    return it == names_.end() ? "other" : it->second;
  }

 private:
  std::map<HWND, std::string> names_;
};

// One message as the comparison sees it: window, name and the parameter that tells its meaning
// (shown or hidden, active or not, the other window of a focus change, the child's event).
inline std::string describe(const Logged& m, const SequenceNames& names) {
  std::string text = names.of(m.hwnd) + " " + sequence_messages().at(m.message);
  // append(), not " " + temporary: GCC 12 in Release warns falsely (-Wrestrict) on the latter.
  switch (m.message) {
    case WM_SHOWWINDOW:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
      text += m.wparam ? " 1" : " 0";
      break;
    case WM_ACTIVATE:
      text.append(" ").append(std::to_string(LOWORD(m.wparam)));
      break;
    case WM_SIZE:
      text.append(" ").append(std::to_string(m.wparam));
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      text.append(" ").append(names.of((HWND)m.wparam));
      break;
    case WM_PARENTNOTIFY:
      text += LOWORD(m.wparam) == WM_CREATE    ? " create"
              : LOWORD(m.wparam) == WM_DESTROY ? " destroy"
                                               : " other";
      break;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      if (m.detail & SWP_SHOWWINDOW) text += " show";
      if (m.detail & SWP_HIDEWINDOW) text += " hide";
      break;
    default:
      break;
  }
  return text;
}

// The compared messages of the log, from entry `from` on, described.
inline std::vector<std::string> sequence(const SequenceNames& names, size_t from = 0) {
  std::vector<std::string> out;
  const auto& log = message_log().messages;
  for (size_t i = from; i < log.size(); ++i)
    if (sequence_messages().count(log[i].message)) out.push_back(describe(log[i], names));
  return out;
}

// Whether `actual` follows `expected`, where an expected entry that starts with '?' may be missing
// (Windows sends it in some cases only). An empty string on success, else both side by side.
inline std::string compare_sequence(const std::vector<std::string>& expected,
                                    const std::vector<std::string>& actual) {
  size_t e = 0, a = 0;
  bool equal = true;
  while (e < expected.size() || a < actual.size()) {
    if (e < expected.size()) {
      const bool optional = expected[e][0] == '?';
      const std::string want = optional ? expected[e].substr(1) : expected[e];
      if (a < actual.size() && actual[a] == want) {
        ++e, ++a;
        continue;
      }
      if (optional) {
        ++e;
        continue;
      }
    }
    equal = false;
    break;
  }
  if (equal) return {};
  std::string out = "expected                                 | actual\n";
  for (size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
    char line[160];
    std::snprintf(line, sizeof line, "%-40s %s %s\n",
                  i < expected.size() ? expected[i].c_str() : "",
                  (i < expected.size() && i < actual.size() &&
                   (expected[i] == actual[i] || expected[i] == "?" + actual[i]))
                      ? "|"
                      : "*",
                  i < actual.size() ? actual[i].c_str() : "");
    out += line;
  }
  return out;
}

}  // namespace zelvo_test
