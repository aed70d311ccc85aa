// System cursors: one shared handle per identifier, and nothing for identifiers or modules that
// have none.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

namespace {

TEST(SystemCursor, EveryIdentifierOfTheFrameworkGivesASharedHandle) {
  const LPCSTR ids[] = {IDC_ARROW,   IDC_IBEAM,       IDC_WAIT,     IDC_CROSS,
                        IDC_UPARROW, IDC_SIZE,        IDC_SIZENWSE, IDC_SIZENESW,
                        IDC_SIZEWE,  IDC_SIZENS,      IDC_SIZEALL,  IDC_NO,
                        IDC_HAND,    IDC_APPSTARTING, IDC_HELP,     IDC_ICON};
  for (LPCSTR id : ids) {
    HCURSOR c = LoadCursorA(0, id);
    ASSERT_TRUE(c) << reinterpret_cast<uintptr_t>(id);
    EXPECT_EQ(LoadCursorA(0, id), c) << "shared";
  }
  EXPECT_NE(LoadCursorA(0, IDC_ARROW), LoadCursorA(0, IDC_IBEAM));
  // A shared cursor outlives DestroyCursor: the next load gives the same one.
  HCURSOR arrow = LoadCursorA(0, IDC_ARROW);
  DestroyCursor(arrow);
  EXPECT_EQ(LoadCursorA(0, IDC_ARROW), arrow);

  EXPECT_FALSE(LoadCursorA(0, MAKEINTRESOURCEA(32517)));
  EXPECT_FALSE(LoadCursorA(0, "arrow"));
}

}  // namespace
