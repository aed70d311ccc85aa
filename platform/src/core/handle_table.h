// The platform layer's one table of objects behind handles.
//
// A handle is a 32-bit value: the slot index in the low 16 bits, a generation count in the high 16.
// Freeing a slot bumps its generation, so an old handle to a reused slot no longer matches and
// every call made with it fails like a call with a stale handle on the real platform. Freed slots
// wait in a first-in-first-out queue and are reused only once many others wait behind them, so a
// slot's generation comes round again only after tens of millions of create/delete cycles, not
// after a few thousand. Handle 0 and 0xFFFFFFFF (a special window value) are never issued.
#pragma once

#include <windows.h>

#include <memory>

namespace plat {

enum class Kind : uint8_t {
  Window = 1,
  DC,
  Bitmap,
  Palette,
  Region,
  Brush,
  Cursor,  // cursors and icons share the kind, as HCURSOR and HICON do on the real platform
  GLContext,
  Global,
  Pen,
  Font,
};

struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  const Kind kind;
  // Stock objects and system cursors live for the whole run; DeleteObject leaves them alone.
  bool permanent = false;
};

// At most this many objects are alive at once (Windows' default quota is 10,000 per kind).
constexpr size_t kMaxHandles = 0xFFFE;

// Takes ownership and returns the new handle (0 only when all slots are in use).
HANDLE handle_insert(std::unique_ptr<Object> object);

// The live object behind `h`, or nullptr when `h` is 0, stale, or of another kind.
Object* handle_get(HANDLE h);
Object* handle_get(HANDLE h, Kind kind);

template <class T>
T* handle_cast(HANDLE h) {
  return static_cast<T*>(handle_get(h, T::kKind));
}

// Removes the object from the table and hands it back (nullptr when `h` is not live).
std::unique_ptr<Object> handle_remove(HANDLE h);

// Number of live objects of one kind; tests use it to prove that nothing leaks.
size_t handle_count(Kind kind);

}  // namespace plat
