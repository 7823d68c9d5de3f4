// The launcher's window in this process, with the real presenter over fakes: the "?" box's look
// and its tooltip, which another process cannot ask for.
// clang-format off
#include <windows.h>
#include <commctrl.h>  // needs the types of windows.h
// clang-format on

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "launcher/launcher_presenter.h"
#include "launcher/launcher_win32.h"
#include "tests/fakes/fake_link.h"
#include "tests/fakes/fake_views.h"

namespace corvane {
namespace {

TEST(LauncherWindowTest, HelpBoxLooksAsDesignedWithItsTooltip) {
  fakes::FakeLink link{"launcher-window"};
  std::string lines;  // settings with no practice window: every harvest reads nothing
  for (int entry = 1; entry <= kEntryCount; ++entry) lines += "\r\n";
  for (const std::wstring& path : {link.paths.settings.tech, link.paths.settings.tech2})
    std::ofstream(std::filesystem::path(path), std::ios::binary) << lines;
  fakes::Journal journal;
  fakes::FakeScreenHost screen{journal, link.state};
  LauncherWindow window{GetModuleHandleW(nullptr)};
  LauncherPresenter presenter{link.state, link.paths, link.platform, window, screen};
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  ASSERT_TRUE(window.Create(presenter));

  HWND aide = GetDlgItem(window.Window(), launcher_id::kAide);
  LOGFONTW look{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(aide, WM_GETFONT, 0, 0)), sizeof look, &look);
  EXPECT_EQ(std::wstring(look.lfFaceName), L"MS Sans Serif");
  EXPECT_GE(look.lfWeight, FW_BOLD);
  EXPECT_EQ(-look.lfHeight, MulDiv(launcher_layout::kAideFontHundredthsOfPoint, GetDpiForWindow(aide), 7200));
  HDC dc = CreateCompatibleDC(nullptr);
  LOGBRUSH ground{};
  GetObjectW(reinterpret_cast<HBRUSH>(SendMessageW(window.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                   reinterpret_cast<LPARAM>(aide))),
             sizeof ground, &ground);
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_CAPTIONTEXT));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(ground.lbColor, GetSysColor(COLOR_HIGHLIGHT));
  DeleteDC(dc);

  HWND tooltip = nullptr;  // this thread's
  do tooltip = FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr);
  while (tooltip && GetWindowThreadProcessId(tooltip, nullptr) != GetCurrentThreadId());
  ASSERT_NE(tooltip, nullptr);
  wchar_t text[512] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window.Window();
  tool.uId = reinterpret_cast<UINT_PTR>(aide);
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text), kHelpTooltip);
}

}  // namespace
}  // namespace corvane
