// MessageBoxA: the automation hook, the dialog, and standard error when no dialog can be shown.
#include <cstdio>
#include <string>

#include "message_box_text.h"
#include "native_backend.h"
#include "text_cp1252.h"

namespace {

MESSAGEBOXHOOK g_hook = nullptr;
void* g_hook_context = nullptr;

}  // namespace

void SetMessageBoxHook(MESSAGEBOXHOOK hook, void* context) {
  g_hook = hook;
  g_hook_context = hook ? context : nullptr;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  if (g_hook) {
    int answer = g_hook(owner, text, caption, type, g_hook_context);
    if (answer != 0) return answer;
  }
  // The real platform titles a box without caption "Error".
  const std::string box_caption = caption ? caption : "Error";
  const std::string box_text = text ? text : "";
  int answer = plat::native_message_box_run(owner, box_caption, box_text, type);
  if (answer == 0) {
    std::string utf8_caption = plat::cp1252_to_utf8(box_caption);
    std::string utf8_text = plat::cp1252_to_utf8(box_text);
    // No box could be shown: the message must still reach someone, on one line.
    for (char& c : utf8_text)
      if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "%s: %s\n", utf8_caption.c_str(), utf8_text.c_str());
    std::fflush(stderr);
  }
  return answer;
}
