// What GetClassInfoExA reports of a registered class, and which instance finds it: a class belongs
// to a module (the program's when registered without one) unless it is global.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

LRESULT CALLBACK RecordProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

// Registers `name` and unregisters it at the end of the scope.
struct ScopedClass {
  ScopedClass(const char* name, HINSTANCE instance, UINT style, LPCSTR menu) : name(name) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = RecordProc;
    wc.hInstance = instance;
    wc.lpszMenuName = menu;
    wc.lpszClassName = name;
    atom = RegisterClassExA(&wc);
    registered_instance = instance;
  }
  ~ScopedClass() {
    if (atom) UnregisterClassA(name, registered_instance);
  }
  const char* name;
  HINSTANCE registered_instance;
  ATOM atom = 0;
};

WNDCLASSEXA info_of(HINSTANCE instance, const char* name, BOOL* found) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  *found = GetClassInfoExA(instance, name, &wc);
  return wc;
}

TEST(ClassRecords, TheMenuNameIsReportedAsRegistered) {
  const HINSTANCE module = GetModuleHandleA(nullptr);
  ScopedClass named("RecordMenuName", module, 0, "MainMenu");
  ASSERT_TRUE(named.atom);
  BOOL found = FALSE;
  WNDCLASSEXA wc = info_of(module, "RecordMenuName", &found);
  ASSERT_TRUE(found);
  ASSERT_NE(wc.lpszMenuName, nullptr);
  EXPECT_EQ(std::string(wc.lpszMenuName), "MainMenu");
  EXPECT_EQ(wc.lpfnWndProc, &RecordProc);

  // A resource number comes back as the same number.
  ScopedClass numbered("RecordMenuNumber", module, 0, MAKEINTRESOURCEA(101));
  ASSERT_TRUE(numbered.atom);
  wc = info_of(module, "RecordMenuNumber", &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(wc.lpszMenuName, MAKEINTRESOURCEA(101));

  ScopedClass none("RecordMenuNone", module, 0, nullptr);
  wc = info_of(module, "RecordMenuNone", &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(wc.lpszMenuName, nullptr);
}

TEST(ClassRecords, AClassWithoutInstanceBelongsToTheProgramAndIsNotASystemClass) {
  const HINSTANCE module = GetModuleHandleA(nullptr);
  ScopedClass local("RecordNoInstance", 0, 0, nullptr);
  ASSERT_TRUE(local.atom);
  BOOL found = FALSE;
  WNDCLASSEXA wc = info_of(module, "RecordNoInstance", &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(wc.hInstance, module);
  // Without an instance only the system's classes and global ones are found.
  info_of(0, "RecordNoInstance", &found);
  EXPECT_FALSE(found);
  // The program can still make windows of it without naming an instance.
  HWND h = CreateWindowExA(0, "RecordNoInstance", "", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, nullptr);
  EXPECT_TRUE(h);
  DestroyWindow(h);
  // A second registration of the name for the same module fails, with or without the instance.
  ScopedClass again("RecordNoInstance", module, 0, nullptr);
  EXPECT_EQ(again.atom, 0);
}

LRESULT CALLBACK ShadowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

// GetClassInfoExA reports the instance it was asked with: for a global class found without one, 0.
TEST(ClassRecords, AGlobalClassIsFoundByEveryInstanceAndReportsTheOneAskedWith) {
  const HINSTANCE module = GetModuleHandleA(nullptr);
  const HINSTANCE other = (HINSTANCE)0x10000;
  ScopedClass global("RecordGlobal", module, CS_GLOBALCLASS, nullptr);
  ASSERT_TRUE(global.atom);
  BOOL found = FALSE;
  WNDCLASSEXA wc = info_of(0, "RecordGlobal", &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(wc.hInstance, HINSTANCE{});
  EXPECT_TRUE(wc.style & CS_GLOBALCLASS);
  wc = info_of(module, "recordglobal", &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(wc.hInstance, module);
  wc = info_of(other, "RecordGlobal", &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(wc.hInstance, other);
  // A second global class of the name is refused; a class of the module may take the name, and
  // the module then finds its own.
  ScopedClass second_global("RecordGlobal", module, CS_GLOBALCLASS, nullptr);
  EXPECT_EQ(second_global.atom, 0);
  WNDCLASSEXA local{};
  local.cbSize = sizeof local;
  local.lpfnWndProc = ShadowProc;
  local.hInstance = module;
  local.lpszClassName = "RecordGlobal";
  ASSERT_TRUE(RegisterClassExA(&local));
  wc = info_of(module, "RecordGlobal", &found);
  EXPECT_TRUE(found);
  EXPECT_EQ(wc.lpfnWndProc, &ShadowProc);
  wc = info_of(0, "RecordGlobal", &found);
  EXPECT_TRUE(found);
  EXPECT_EQ(wc.lpfnWndProc, &RecordProc);
  EXPECT_TRUE(UnregisterClassA("RecordGlobal", module));  // the module's own goes first
  wc = info_of(module, "RecordGlobal", &found);
  EXPECT_TRUE(found);
  EXPECT_EQ(wc.lpfnWndProc, &RecordProc);
}

TEST(ClassRecords, AClassOfTheModuleIsNotFoundByAnother) {
  ScopedClass local("RecordLocal", GetModuleHandleA(nullptr), 0, nullptr);
  ASSERT_TRUE(local.atom);
  BOOL found = TRUE;
  info_of((HINSTANCE)0x10000, "RecordLocal", &found);
  EXPECT_FALSE(found);
}

}  // namespace
