/// @file
/// The shown message boxes as other threads see them, whichever backend shows them: their window
/// records, controls, texts and ids, the messages posted to them, and the Windows calls that find
/// and answer them (FindWindowExA, GetDlgItem, GetWindowTextA, PostMessageA...). A backend shows
/// the box, registers it while it is up, and takes the posted messages in its modal loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace plat {

struct NativeWindow;

/// One of a box's controls: a push button per answer, and the static text.
struct BoxControl {
  HWND handle = 0;              ///< given at registration
  int id = 0;                   ///< IDOK..., or kMessageBoxTextId for the text
  const char* class_name = "";  ///< "Button" or "Static"
  std::string text;             ///< Windows-1252
  RECT rect{};                  ///< in the box's client area
};

/// A shown box as other threads see it: its handle, title and controls, where it is on the screen,
/// and the messages posted to it. The box's own thread takes the messages in its modal loop; the
/// event descriptor wakes that loop.
struct OpenBox {
  HWND handle = 0;                   ///< the box's window record
  std::string title;                 ///< Windows-1252
  std::vector<BoxControl> controls;  ///< those that got a handle
  int width = 0;                     ///< client width
  int height = 0;                    ///< client height
  POINT origin{};                    ///< the client area's corner on the screen
  bool visible = false;              ///< on the screen
  bool focused = false;              ///< has the keyboard
  std::deque<MSG> posted;            ///< waiting for the modal loop
  uint64_t posted_count = 0;         ///< messages ever posted
  uint64_t taken_count = 0;          ///< messages taken: senders wait for theirs
  std::thread::id thread;            ///< the thread that shows the box
  int wake = -1;                     ///< event descriptor, readable when posted to
};

/// Makes the box known while it is shown: window records give it and its controls handles of their
/// own, which the thread that shows it can use like any window's (IsWindow, GetWindowTextA).
class BoxRegistration {
 public:
  /// Registers a box of client size `width` x `height` at `origin`; `native` (may be null) is the
  /// backend's part of the box record and must outlive the registration.
  BoxRegistration(const std::string& title, NativeWindow* native, int width, int height,
                  POINT origin, std::vector<BoxControl> controls);
  ~BoxRegistration();
  BoxRegistration(const BoxRegistration&) = delete;
  BoxRegistration& operator=(const BoxRegistration&) = delete;

  /// The style of a box's window record.
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

  /// The descriptor that becomes readable when a message is posted to the box; -1 without one.
  int wake_descriptor() const { return box_.wake; }
  /// The oldest message posted to the box, if any; `*control` is the id of the control it was
  /// posted to, 0 for the box itself.
  bool take(MSG* msg, int* control);
  /// Where the box's client area is on the screen, and whether the box is mapped.
  void placed(POINT origin, bool visible);
  /// Whether the box is on the screen.
  bool visible();
  /// Whether the box has the keyboard.
  void focused(bool focus);

 private:
  OpenBox box_;
};

/// The answer a message posted to a box of style `type` (`control` 0) or to its control `control`
/// gives, or 0 when the box stays. A button's WM_COMMAND chooses that button, as its click does,
/// and so does BM_CLICK posted to the button; IDCANCEL and WM_CLOSE act like Escape.
int box_posted_answer(UINT type, const MSG& msg, int control);

/// What other threads may ask about a shown box or one of its controls.
struct BoxWindowState {
  HWND parent = 0;       ///< the box, for a control
  int id = 0;            ///< a control's id
  RECT rect{};           ///< outer rectangle on the screen
  RECT client{};         ///< client rectangle (0, 0, width, height)
  bool visible = false;  ///< the box is on the screen
};
/// Fills `state` when `h` is a shown box or one of its controls; false otherwise.
bool box_state(HWND h, BoxWindowState* state);
/// FindWindowExA among shown boxes (`box` 0: the newest box that matches, else its controls after
/// `after`); false when `box` is neither 0 nor a shown box.
bool box_find(HWND box, HWND after, LPCSTR class_name, LPCSTR title, HWND* found);
/// GetDlgItem on a shown box; false when `box` is none.
bool box_control(HWND box, int id, HWND* control);
/// A message to a box or control, for its modal loop; with `wait`, returns when the loop took it.
bool box_message(HWND h, UINT message, WPARAM wparam, LPARAM lparam, bool wait);
/// GetWindowTextA on a box or control; false when `h` is none.
bool box_text(HWND h, LPSTR buffer, int size, int* length);
/// The shown box that has the keyboard, or 0.
HWND box_foreground();

/// The class name of a message box's window.
constexpr const char* kMessageBoxClass = "#32770";
/// The control id of a box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

}  // namespace plat
