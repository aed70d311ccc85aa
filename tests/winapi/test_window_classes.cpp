// Window classes by name without regard to case, the creation messages inside CreateWindowExA, and
// window properties.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "message_log.h"
#include "wine_differences.h"
#include "zelvo/lparam_pointer.h"

using namespace zelvo_test;

namespace {

constexpr const char* kClass = "ClassesTestWindow";

// A property value: a handle-sized integer on both platforms.
HANDLE value(uintptr_t v) { return (HANDLE)v; }

class WindowClasses : public ::testing::Test {
 protected:
  void SetUp() override {
    register_logging_class(kClass);
    message_log() = MessageLog{};
  }
  void TearDown() override {
    for (HWND h : windows_) DestroyWindow(h);
    pump_all();
  }
  HWND make(DWORD style, int x, int y, int w, int h, HWND parent = 0, HMENU id = 0,
            const char* title = "T") {
    HWND hwnd = CreateWindowExA(0, kClass, title, style, x, y, w, h, parent, id,
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd && !parent) windows_.push_back(hwnd);
    return hwnd;
  }
  std::vector<HWND> windows_;
};

TEST_F(WindowClasses, CreationMessagesArriveInsideCreateWindow) {
  CREATESTRUCTA seen{};
  std::string seen_title;
  bool handle_valid_in_create = false;
  message_log().handlers[WM_CREATE] = [&](HWND hwnd, WPARAM, LPARAM lparam) -> LRESULT {
    auto* cs = static_cast<CREATESTRUCTA*>(LParamToPtr(lparam));
    if (cs) {
      seen = *cs;
      seen_title = cs->lpszName;
    }
    handle_valid_in_create = IsWindow(hwnd);
    return 0;
  };
  HWND h = make(kCaptionedStyle, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, 0, 0, "Tornado");
  ASSERT_TRUE(h);
  int nc = message_log().first(WM_NCCREATE);
  int create = message_log().first(WM_CREATE);
  ASSERT_GE(nc, 0);
  ASSERT_GT(create, nc);
  EXPECT_EQ(message_log().messages[create].hwnd, h);
  EXPECT_TRUE(handle_valid_in_create);
  EXPECT_EQ(seen_title, "Tornado");
  EXPECT_EQ(seen.cx, 640);
  EXPECT_EQ(seen.cy, 480);
  EXPECT_EQ(static_cast<DWORD>(seen.style), kCaptionedStyle);
  char title[32];
  EXPECT_EQ(GetWindowTextA(h, title, sizeof title), 7);
  EXPECT_STREQ(title, "Tornado");
  EXPECT_TRUE(IsWindowVisible(h));
}

TEST_F(WindowClasses, ClassesAreNamedWithoutRegardToCase) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(WNDCLASSEXA);
  wc.lpfnWndProc = LoggingProc;
  wc.lpszClassName = "CaseClass";
  wc.hInstance = GetModuleHandleA(nullptr);
  EXPECT_FALSE(GetClassInfoExA(wc.hInstance, "caseclass", &wc));
  ATOM atom = RegisterClassExA(&wc);
  EXPECT_NE(atom, 0);
  WNDCLASSEXA again = wc;
  again.lpszClassName = "CASECLASS";
  EXPECT_EQ(RegisterClassExA(&again), 0);  // the name exists already
  WNDCLASSEXA bad = wc;
  bad.lpszClassName = "OtherClass";
  bad.cbSize = 12;
  EXPECT_EQ(RegisterClassExA(&bad), 0);
  WNDCLASSEXA info{};
  EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "caseClass", &info));
  EXPECT_EQ(info.lpfnWndProc, &LoggingProc);

  // A class in use stays registered; an unused one goes.
  HWND h = CreateWindowExA(0, "CASECLASS", "", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, nullptr);
  ASSERT_TRUE(h);
  EXPECT_FALSE(UnregisterClassA("CaseClass", GetModuleHandleA(nullptr)));
  DestroyWindow(h);
  EXPECT_TRUE(UnregisterClassA("CaseClass", GetModuleHandleA(nullptr)));
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "CaseClass", &info));
  EXPECT_FALSE(CreateWindowExA(0, "CaseClass", "", WS_POPUP, 0, 0, 10, 10, 0, 0, 0, nullptr));
}

TEST_F(WindowClasses, PropertiesAreCaseInsensitiveAndPerWindow) {
  HWND a = make(WS_POPUP, 0, 0, 10, 10);
  HWND b = make(WS_POPUP, 0, 0, 10, 10);
  EXPECT_TRUE(SetPropA(a, "HoverModeByte", value(3)));
  EXPECT_EQ(GetPropA(a, "HOVERMODEBYTE"), value(3));
  EXPECT_EQ(GetPropA(b, "HOVERMODEBYTE"), value(0));
  EXPECT_TRUE(SetPropA(a, "hovermodebyte", value(2)));  // replaces
  EXPECT_EQ(RemovePropA(a, "HOVERMODEbyte"), value(2));
  EXPECT_EQ(GetPropA(a, "HoverModeByte"), value(0));
  EXPECT_EQ(RemovePropA(a, "HoverModeByte"), value(0));
  // Integer atoms name properties too, each its own.
  EXPECT_TRUE(SetPropA(a, MAKEINTATOM(5), value(7)));
  EXPECT_TRUE(SetPropA(a, MAKEINTATOM(50), value(8)));
  EXPECT_EQ(GetPropA(a, MAKEINTATOM(5)), value(7));
  EXPECT_EQ(GetPropA(b, MAKEINTATOM(5)), value(0));
  EXPECT_EQ(RemovePropA(a, MAKEINTATOM(50)), value(8));
  EXPECT_EQ(GetPropA(a, MAKEINTATOM(50)), value(0));
  EXPECT_EQ(GetPropA(a, MAKEINTATOM(5)), value(7));
}

TEST_F(WindowClasses, FindWindowMatchesClassAndTitleOfTopLevelWindowsOnly) {
  HWND a = make(WS_POPUP, 0, 0, 10, 10, 0, 0, "Find Me");
  HWND b = make(WS_POPUP, 0, 0, 10, 10, 0, 0, "Find Other");
  ASSERT_TRUE(a && b);
  HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, a, (HMENU)3, "Find Child");
  ASSERT_TRUE(child);
  EXPECT_EQ(FindWindowA(kClass, "Find Me"), a);
  EXPECT_EQ(FindWindowA("classestestwindow", "FIND ME"), a) << "names compare without case";
  EXPECT_EQ(FindWindowA(nullptr, "Find Other"), b) << "NULL matches any class";
  HWND any = FindWindowA(kClass, nullptr);
  EXPECT_TRUE(any == a || any == b) << "NULL matches any title";
  EXPECT_EQ(FindWindowA(nullptr, "Find Child"), HWND{}) << "children are not top-level windows";
  EXPECT_EQ(FindWindowA(kClass, "Find"), HWND{}) << "the whole title must match";
  EXPECT_EQ(FindWindowA("NoSuchFindClass", nullptr), HWND{});
  EXPECT_EQ(FindWindowA("NoSuchFindClass", "Find Me"), HWND{});
  EXPECT_TRUE(SetWindowTextA(b, "Renamed"));
  EXPECT_EQ(FindWindowA(kClass, "Renamed"), b) << "the current title counts";
  EXPECT_EQ(FindWindowA(kClass, "Find Other"), HWND{});
  DestroyWindow(a);
  EXPECT_EQ(FindWindowA(kClass, "Find Me"), HWND{}) << "a destroyed window is gone";
}

TEST_F(WindowClasses, PropertyWithoutANameIsRefused) {
  SKIP_UNDER_WINE("SetPropA accepts a null name");
  HWND a = make(WS_POPUP, 0, 0, 10, 10);
  EXPECT_FALSE(SetPropA(a, nullptr, value(1)));
}

}  // namespace
