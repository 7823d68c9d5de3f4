// The launcher's window alone, in this process, with the real presenter over fakes: what the
// window draws with, and how its messages become presenter calls.
// clang-format off
#include <windows.h>
#include <commctrl.h>  // needs the types of windows.h
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "launcher/launcher_presenter.h"
#include "launcher/launcher_win32.h"
#include "tests/fakes/fake_link.h"
#include "tests/fakes/fake_views.h"

namespace corvane {
namespace {

class LauncherWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Settings with no practice window: every harvest succeeds and reads nothing.
    std::string lines;
    for (int i = 0; i < kEntryCount; ++i) lines += "\r\n";
    for (const std::wstring& path : {link_.paths.settings.tech, link_.paths.settings.tech2})
      std::ofstream(std::filesystem::path(path), std::ios::binary) << lines;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ASSERT_TRUE(window_.Create(presenter_));
    Pump();
  }

  // Runs what is queued for this thread's windows (the activation is a posted message).
  static void Pump() {
    for (MSG message{}; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
  }
  int Count(const std::wstring& call) const {
    return static_cast<int>(std::count(journal_.begin(), journal_.end(), call));
  }

  fakes::FakeLink link_{"launcher-window"};
  fakes::FakeMessageBoxes& messages_ = link_.messages;
  fakes::Journal journal_;
  fakes::FakeScreenHost screen_{journal_, link_.state};
  LauncherWindow window_{GetModuleHandleW(nullptr)};
  LauncherPresenter presenter_{link_.state, link_.paths, link_.platform, window_, screen_};
};

// Only the program showing the launcher is an activation that harvests; presses carry their
// button and modifiers and dispatch at the press, releases never; the close box only asks.
TEST_F(LauncherWindowTest, HarvestsWhenShownByTheProgramDispatchesPressesAndCloseBoxOnlyAsks) {
  EXPECT_EQ(Count(L"screen.Refresh"), 1) << "the first show is an activation";
  SendMessageW(window_.Window(), WM_ACTIVATE, WA_ACTIVE, 0);  // back from another window
  Pump();
  EXPECT_EQ(Count(L"screen.Refresh"), 1);
  window_.Hide();  // the screen gives way, then shows the launcher again
  window_.Show();
  Pump();
  EXPECT_EQ(Count(L"screen.Refresh"), 2);

  // Middle acts as left; right + Shift is Shift.
  HWND image = GetDlgItem(window_.Window(), launcher_id::kImage1);
  const std::tuple<UINT, WPARAM, std::wstring> kPresses[] = {
      {WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, L"screen.Show(Ctrl)"},
      {WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, L"screen.Show(Normal)"},
      {WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, L"screen.Show(Normal)"}};
  for (const auto& [message, keys, call] : kPresses) {
    SendMessageW(image, message, keys, MAKELPARAM(20, 20));
    EXPECT_EQ(journal_.back(), call);
    EXPECT_FALSE(IsWindowVisible(window_.Window())) << "the launcher hid itself";
    window_.Show();
    Pump();
  }
  journal_.clear();
  SendMessageW(image, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(20, 20));
  SendMessageW(image, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_TRUE(journal_.empty());
  EXPECT_TRUE(messages_.shown.empty());

  // Right alone and the close box both ask to quit; No keeps the launcher.
  messages_.answers = {false, false};
  SendMessageW(image, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
  SendMessageW(window_.Window(), WM_CLOSE, 0, 0);
  ASSERT_EQ(messages_.shown.size(), 2u);
  for (const auto& shown : messages_.shown) {
    EXPECT_EQ(shown.title, kQuitTitle);
    EXPECT_EQ(shown.text, kQuitQuestion);
  }
  EXPECT_TRUE(IsWindow(window_.Window()));
  EXPECT_FALSE(window_.QuitRequested());
}

TEST_F(LauncherWindowTest, HelpBoxLooksAsDesignedWithItsTooltip) {
  HWND aide = GetDlgItem(window_.Window(), launcher_id::kAide);
  auto font = reinterpret_cast<HFONT>(SendMessageW(aide, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW look{};
  GetObjectW(font, sizeof look, &look);
  EXPECT_EQ(std::wstring(look.lfFaceName), L"MS Sans Serif");
  EXPECT_GE(look.lfWeight, FW_BOLD);
  const UINT dpi = GetDpiForWindow(window_.Window());
  EXPECT_EQ(-look.lfHeight, MulDiv(975, static_cast<int>(dpi), 7200)) << "9.75 points";

  HDC dc = CreateCompatibleDC(nullptr);
  const LRESULT brush =
      SendMessageW(window_.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(aide));
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_CAPTIONTEXT));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_HIGHLIGHT));
  LOGBRUSH ground{};
  GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof ground, &ground);
  EXPECT_EQ(ground.lbColor, GetSysColor(COLOR_HIGHLIGHT));
  DeleteDC(dc);

  // The tooltip window of this thread that knows Aide gives the text exactly.
  HWND tooltip = nullptr;
  do tooltip = FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr);
  while (tooltip != nullptr && GetWindowThreadProcessId(tooltip, nullptr) != GetCurrentThreadId());
  ASSERT_NE(tooltip, nullptr);
  wchar_t text[512] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_.Window();
  tool.uId = reinterpret_cast<UINT_PTR>(aide);
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text), kHelpTooltip);
}

}  // namespace
}  // namespace corvane
