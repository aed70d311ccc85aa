// The system icons: our own drawings, shared for the whole run.
#include <map>

#include "cursor_object.h"
#include "icon_image.h"

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (instance != 0 || !IS_INTRESOURCE(name)) return 0;
  auto id = static_cast<unsigned>(reinterpret_cast<uintptr_t>(name));
  plat::IconPicture picture;
  switch (id) {
    case 32512:  // IDI_APPLICATION
    case 32517:  // IDI_WINLOGO
      picture = plat::IconPicture::Application;
      break;
    case 32513:
      picture = plat::IconPicture::Error;
      break;
    case 32514:
      picture = plat::IconPicture::Question;
      break;
    case 32515:  // IDI_EXCLAMATION
    case 32518:  // IDI_SHIELD
      picture = plat::IconPicture::Warning;
      break;
    case 32516:
      picture = plat::IconPicture::Information;
      break;
    default:
      return 0;
  }
  static std::map<unsigned, HICON> shared;
  HICON& handle = shared[id];
  if (!handle) {
    constexpr int kSize = 32;
    plat::IconImage image = plat::paint_icon(picture, kSize);
    handle = plat::cursor_insert_image(image.width, image.height, image.width / 2, image.height / 2,
                                       std::move(image.argb), true);
  }
  return handle;
}
