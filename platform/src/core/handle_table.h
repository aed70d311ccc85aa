// The platform layer's one table of objects behind handles.
//
// A handle is a 32-bit value: the slot index in the low 16 bits, a generation count in the high 16.
// Freeing a slot bumps its generation, so an old handle to a reused slot no longer matches and
// every call made with it fails like a call with a stale handle on the real platform. A slot's
// generation never comes round again: a slot that has had all of its 65,535 generations is retired
// for good, so a stale handle names nothing, however full the table has been and however many
// objects came and went. Freed slots wait in a first-in-first-out queue and are reused only once
// many others wait behind them, so that a program creating and deleting one object at a time
// spreads its cycles over many slots instead of using up one. Handle 0 and 0xFFFFFFFF (a special
// window value) are never issued.
//
// Quotas, as Windows has them: a process may hold at most 10,000 GDI objects
// (GDIProcessHandleQuota: DCs, bitmaps, brushes, pens, fonts, palettes, regions, together) and
// 10,000 USER objects (USERProcessHandleQuota: windows, message boxes and their controls among
// them, cursors and icons). Stock objects and the shared system cursors belong to the system on
// Windows, not to the process, and do not count (`permanent`). Every DC counts, window DCs from
// GetDC too: ours is a new object each time, held until ReleaseDC. GL contexts and global memory
// blocks are neither GDI nor USER objects; only the table's size bounds them. Wine enforces neither
// quota: its GDI table holds 65,536 handles a process and its USER table (in the server, for all
// processes) 32,744, and a creation past either fails without an error code.
//
// A refused creation leaves the code Windows gives: ERROR_NO_MORE_USER_HANDLES (1158) for a USER
// object, the code CreateWindowEx's documentation names for a process out of USER handles; for
// everything else ERROR_NOT_ENOUGH_MEMORY (8), what Windows' GDI reports when it runs out of
// handles ("Not enough memory resources are available to process this command"). The GDI pages
// name no code, and Wine sets none.
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

// At most this many objects are alive at once, of all kinds together.
constexpr size_t kMaxHandles = 0xFFFE;

// The per-process quota an object counts against.
enum class Quota : uint8_t { Neither, Gdi, User };  // "None" is an X11 macro
constexpr size_t kQuotaLimit = 10000;  // Windows' default for both GDI and USER objects

Quota quota_of(Kind kind);

// Takes ownership and returns the new handle. 0 when the object's quota or the table is used up,
// with the reason set for GetLastError (see above); the object is destroyed then.
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

// Number of live objects that count against a quota (permanent ones do not).
size_t handle_quota_used(Quota quota);

}  // namespace plat
