// The registry of shown message boxes: what makes a box a window that other threads find, read and
// answer with Windows calls, the same over every backend.
#include "message_box_registry.h"

#include <strings.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>

#include "handle_table.h"
#include "message_box_text.h"
#include "window_object.h"

namespace plat {
namespace {

std::mutex& boxes_lock() {
  static std::mutex lock;
  return lock;
}

// Wakes the threads that sent a message to a box once it is taken or the box is gone.
std::condition_variable& boxes_changed() {
  static std::condition_variable changed;
  return changed;
}

// Shown boxes, oldest first (a window procedure may show a box while another one is up).
std::vector<OpenBox*>& open_boxes() {
  static std::vector<OpenBox*> boxes;
  return boxes;
}

// How many boxes are shown: the calls that every window goes through look no further without one.
std::atomic<int> g_open_count{0};

// The shown box that `h` is or holds as a control (`*control` is then that control, nullptr for
// the box itself). Called under the lock.
OpenBox* open_box(HWND h, const BoxControl** control = nullptr) {
  if (control) *control = nullptr;
  if (h == 0) return nullptr;
  for (OpenBox* box : open_boxes()) {
    if (box->handle == h) return box;
    for (const BoxControl& c : box->controls)
      if (c.handle == h) {
        if (control) *control = &c;
        return box;
      }
  }
  return nullptr;
}

// The classes of the boxes' window records; they are not in the application's class list, so that
// RegisterClassA and GetClassInfoExA never see them.
WindowClass& system_class(const char* name) {
  static WindowClass dialog, button, text;
  for (WindowClass* c : {&dialog, &button, &text})
    if (c->name.empty() || strcasecmp(c->name.c_str(), name) == 0) {
      if (c->name.empty()) c->name = name;
      return *c;
    }
  return dialog;
}

void copy_text(const std::string& text, LPSTR buffer, int size, int* length) {
  *length = 0;
  if (!buffer || size <= 0) return;
  const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  *length = static_cast<int>(n);
}

bool class_matches(const char* class_name, LPCSTR wanted) {
  return !wanted || (!IS_INTRESOURCE(wanted) && strcasecmp(class_name, wanted) == 0);
}

}  // namespace

BoxRegistration::BoxRegistration(const std::string& title, NativeWindow* native, int width,
                                 int height, POINT origin, std::vector<BoxControl> controls) {
  box_.title = title;
  box_.width = width;
  box_.height = height;
  box_.origin = origin;
  box_.thread = std::this_thread::get_id();
  box_.wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  auto record = std::make_unique<WindowObject>();
  record->window_class = &system_class(kMessageBoxClass);
  record->style = kStyle;
  record->title = title;
  record->native = native;
  record->client_x = origin.x;
  record->client_y = origin.y;
  record->client_width = width;
  record->client_height = height;
  record->mapped = true;
  WindowObject* w = record.get();
  box_.handle = handle_insert(std::move(record));
  if (!box_.handle) return;
  w->handle = box_.handle;
  for (BoxControl& c : controls) {
    auto control = std::make_unique<WindowObject>();
    control->window_class = &system_class(c.class_name);
    control->style = WS_CHILD | WS_VISIBLE | (c.id == kMessageBoxTextId ? 0 : WS_TABSTOP);
    control->parent = box_.handle;
    control->id = c.id;
    control->title = c.text;
    control->client_x = c.rect.left;
    control->client_y = c.rect.top;
    control->client_width = c.rect.right - c.rect.left;
    control->client_height = c.rect.bottom - c.rect.top;
    control->mapped = true;
    WindowObject* cw = control.get();
    c.handle = handle_insert(std::move(control));
    if (!c.handle) {
      // A box missing a button could not be answered the way it says: register none of it.
      for (const BoxControl& made : box_.controls) handle_remove(made.handle);
      box_.controls.clear();
      w->native = nullptr;  // borrowed from the backend
      handle_remove(box_.handle);
      box_.handle = 0;
      return;
    }
    cw->handle = c.handle;
    w->children.push_back(c.handle);
    box_.controls.push_back(c);
  }
  std::lock_guard<std::mutex> hold(boxes_lock());
  open_boxes().push_back(&box_);
  ++g_open_count;
}
BoxRegistration::~BoxRegistration() {
  {
    std::lock_guard<std::mutex> hold(boxes_lock());
    auto& boxes = open_boxes();
    if (std::find(boxes.begin(), boxes.end(), &box_) != boxes.end()) --g_open_count;
    boxes.erase(std::remove(boxes.begin(), boxes.end(), &box_), boxes.end());
  }
  boxes_changed().notify_all();
  for (const BoxControl& c : box_.controls) handle_remove(c.handle);
  // The record only borrows the backend's part of the box, which the backend frees.
  if (WindowObject* w = window_get(box_.handle)) w->native = nullptr;
  if (box_.handle) handle_remove(box_.handle);
  if (box_.wake >= 0) close(box_.wake);
}

bool BoxRegistration::take(MSG* msg, int* control) {
  if (box_.wake >= 0) {
    uint64_t count;
    while (read(box_.wake, &count, sizeof count) > 0) {
    }
  }
  {
    std::lock_guard<std::mutex> hold(boxes_lock());
    if (box_.posted.empty()) return false;
    *msg = box_.posted.front();
    box_.posted.pop_front();
    ++box_.taken_count;
    *control = 0;
    for (const BoxControl& c : box_.controls)
      if (c.handle == msg->hwnd) *control = c.id;
  }
  boxes_changed().notify_all();
  return true;
}
void BoxRegistration::placed(POINT origin, bool visible) {
  std::lock_guard<std::mutex> hold(boxes_lock());
  box_.origin = origin;
  box_.visible = visible;
  if (WindowObject* w = window_get(box_.handle)) {
    w->client_x = origin.x;
    w->client_y = origin.y;
  }
}
bool BoxRegistration::visible() {
  std::lock_guard<std::mutex> hold(boxes_lock());
  return box_.visible;
}
void BoxRegistration::focused(bool focus) {
  std::lock_guard<std::mutex> hold(boxes_lock());
  box_.focused = focus;
}
int box_posted_answer(UINT type, const MSG& msg, int control) {
  const std::vector<BoxButton> buttons = box_buttons(type);
  if (control != 0) {
    if (msg.message != BM_CLICK) return 0;
    for (const BoxButton& b : buttons)
      if (b.id == control) return control;
    return 0;
  }
  if (msg.message == WM_CLOSE) return box_escape_result(type);
  if (msg.message != WM_COMMAND) return 0;
  const int id = LOWORD(msg.wParam);
  for (const BoxButton& b : buttons)
    if (b.id == id) return id;
  return id == IDCANCEL ? box_escape_result(type) : 0;
}

namespace {

HWND find_box(LPCSTR class_name, LPCSTR title) {
  if (g_open_count == 0 || !class_matches(kMessageBoxClass, class_name)) return 0;
  std::lock_guard<std::mutex> hold(boxes_lock());
  const auto& boxes = open_boxes();
  for (auto it = boxes.rbegin(); it != boxes.rend(); ++it)
    if (!title || strcasecmp((*it)->title.c_str(), title) == 0) return (*it)->handle;
  return 0;
}

bool find_control(HWND box, HWND after, LPCSTR class_name, LPCSTR title, HWND* found) {
  if (g_open_count == 0) return false;
  std::lock_guard<std::mutex> hold(boxes_lock());
  const BoxControl* control = nullptr;
  OpenBox* open = open_box(box, &control);
  if (!open) return false;
  *found = 0;
  if (control) return true;  // controls have no children
  bool searching = after == 0;
  for (const BoxControl& c : open->controls) {
    if (!searching) {
      searching = c.handle == after;
      continue;
    }
    if (class_matches(c.class_name, class_name) &&
        (!title || strcasecmp(c.text.c_str(), title) == 0)) {
      *found = c.handle;
      break;
    }
  }
  return true;
}

}  // namespace

bool box_find(HWND box, HWND after, LPCSTR class_name, LPCSTR title, HWND* found) {
  if (box == 0) {
    *found = find_box(class_name, title);
    return true;
  }
  return find_control(box, after, class_name, title, found);
}

bool box_control(HWND box, int id, HWND* found) {
  if (g_open_count == 0) return false;
  std::lock_guard<std::mutex> hold(boxes_lock());
  const BoxControl* control = nullptr;
  OpenBox* open = open_box(box, &control);
  if (!open) return false;
  *found = 0;
  if (!control)
    for (const BoxControl& c : open->controls)
      if (c.id == id) *found = c.handle;
  return true;
}

namespace {

// Queues the message for the box's loop and wakes it; the number of the message among those posted
// to the box. Called under the lock.
uint64_t queue_for_box(OpenBox* open, HWND h, UINT message, WPARAM wparam, LPARAM lparam) {
  MSG msg{};
  msg.hwnd = h;
  msg.message = message;
  msg.wParam = wparam;
  msg.lParam = lparam;
  open->posted.push_back(msg);
  if (open->wake >= 0) {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(open->wake, &one, sizeof one);
  }
  return ++open->posted_count;
}

}  // namespace

bool box_message(HWND h, UINT message, WPARAM wparam, LPARAM lparam, bool wait) {
  if (g_open_count == 0) return false;
  std::unique_lock<std::mutex> hold(boxes_lock());
  OpenBox* open = open_box(h);
  if (!open) return false;
  const uint64_t ticket = queue_for_box(open, h, message, wparam, lparam);
  if (!wait) return true;
  // The box's own thread cannot wait for itself; it takes the message when its loop goes on.
  if (open->thread == std::this_thread::get_id()) return true;
  const HWND box = open->handle;
  boxes_changed().wait(hold, [&] {
    OpenBox* still = open_box(box);
    return !still || still->taken_count >= ticket;
  });
  return true;
}

bool box_text(HWND h, LPSTR buffer, int size, int* length) {
  if (g_open_count == 0) return false;
  std::lock_guard<std::mutex> hold(boxes_lock());
  const BoxControl* control = nullptr;
  OpenBox* open = open_box(h, &control);
  if (!open) return false;
  copy_text(control ? control->text : open->title, buffer, size, length);
  return true;
}

bool box_state(HWND h, BoxWindowState* state) {
  if (g_open_count == 0) return false;
  std::lock_guard<std::mutex> hold(boxes_lock());
  const BoxControl* control = nullptr;
  OpenBox* open = open_box(h, &control);
  if (!open) return false;
  state->visible = open->visible;
  if (control) {
    state->parent = open->handle;
    state->id = control->id;
    state->rect = RECT{open->origin.x + control->rect.left, open->origin.y + control->rect.top,
                       open->origin.x + control->rect.right, open->origin.y + control->rect.bottom};
    state->client = RECT{0, 0, control->rect.right - control->rect.left,
                         control->rect.bottom - control->rect.top};
    return true;
  }
  const Frame f = window_frame(BoxRegistration::kStyle, 0);
  state->parent = 0;
  state->id = 0;
  state->rect =
      RECT{open->origin.x - f.left, open->origin.y - f.top, open->origin.x + open->width + f.right,
           open->origin.y + open->height + f.bottom};
  state->client = RECT{0, 0, open->width, open->height};
  return true;
}

HWND box_foreground() {
  if (g_open_count == 0) return 0;
  std::lock_guard<std::mutex> hold(boxes_lock());
  const auto& boxes = open_boxes();
  for (auto it = boxes.rbegin(); it != boxes.rend(); ++it)
    if ((*it)->focused) return (*it)->handle;
  return 0;
}

}  // namespace plat
