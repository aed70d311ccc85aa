// Cursors behind HCURSOR handles: the system's by number, and cursors loaded from files as images.
// The backend makes its own cursor from one when a window shows it.
#include <cstdio>
#include <map>
#include <memory>

#include "cursor_file.h"
#include "cursor_object.h"
#include "error_codes.h"
#include "native_backend.h"
#include "regular_file.h"

namespace plat {

constexpr size_t kMaxFileBytes = 4u << 20;  // far beyond any real cursor file

namespace {

// The system cursors' IDC_ numbers.
bool is_system_cursor(unsigned id) {
  switch (id) {
    case 32512:  // IDC_ARROW
    case 32513:  // IDC_IBEAM
    case 32514:  // IDC_WAIT
    case 32515:  // IDC_CROSS
    case 32516:  // IDC_UPARROW
    case 32640:  // IDC_SIZE
    case 32641:  // IDC_ICON
    case 32642:  // IDC_SIZENWSE
    case 32643:  // IDC_SIZENESW
    case 32644:  // IDC_SIZEWE
    case 32645:  // IDC_SIZENS
    case 32646:  // IDC_SIZEALL
    case 32648:  // IDC_NO
    case 32649:  // IDC_HAND
    case 32650:  // IDC_APPSTARTING
    case 32651:  // IDC_HELP
      return true;
    default:
      return false;
  }
}

}  // namespace

CursorObject::~CursorObject() {
  if (native_cursor) native_cursor_destroy(native_cursor);
}

HANDLE cursor_insert_image(int width, int height, int hot_x, int hot_y, std::vector<uint32_t> argb,
                           bool permanent) {
  auto object = std::make_unique<CursorObject>();
  object->width = width;
  object->height = height;
  object->hot_x = hot_x;
  object->hot_y = hot_y;
  object->argb = std::move(argb);
  object->permanent = permanent;
  return handle_insert(std::move(object));
}

}  // namespace plat

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance != 0 || !IS_INTRESOURCE(name)) return 0;
  auto id = static_cast<unsigned>(reinterpret_cast<uintptr_t>(name));
  if (!plat::is_system_cursor(id)) return 0;
  static std::map<unsigned, HCURSOR> shared;
  HCURSOR& handle = shared[id];
  if (!handle) {
    auto object = std::make_unique<plat::CursorObject>();
    object->system_id = id;
    object->permanent = true;
    handle = plat::handle_insert(std::move(object));
  }
  return handle;
}

HCURSOR LoadCursorFromFileA(LPCSTR file_name) {
  if (!file_name) {
    SetLastError(plat::kErrorInvalidParameter);
    return 0;
  }
  plat::RegularFile file(file_name);
  if (!file.ok()) return 0;
  if (file.size() > plat::kMaxFileBytes) {
    SetLastError(plat::kErrorInvalidData);
    return 0;
  }
  std::vector<uint8_t> bytes;
  if (!file.read_up_to(bytes, plat::kMaxFileBytes, 0)) return 0;
  std::optional<plat::CursorImage> image = plat::parse_cursor_file(bytes.data(), bytes.size());
  if (!image) {
    SetLastError(plat::kErrorInvalidData);
    return 0;
  }
  return plat::cursor_insert_image(image->width, image->height, image->hot_x, image->hot_y,
                                   std::move(image->argb), false);
}

BOOL DestroyCursor(HCURSOR cursor) {
  plat::CursorObject* c = plat::handle_cast<plat::CursorObject>(cursor);
  if (!c) return FALSE;
  if (!c->permanent) plat::handle_remove(cursor);
  return TRUE;
}

BOOL DestroyIcon(HICON icon) { return DestroyCursor(icon); }
