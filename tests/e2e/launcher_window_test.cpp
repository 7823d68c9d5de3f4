// The launcher's window alone, in this process, with the real presenter over fakes: what the
// window draws with, and how its messages become presenter calls.
// clang-format off
#include <windows.h>
#include <commctrl.h>  // needs the types of windows.h
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>

#include "launcher/launcher_presenter.h"
#include "launcher/launcher_win32.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_gdi.h"
#include "tests/fakes/fake_system.h"
#include "tests/fakes/fake_views.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

class LauncherWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Settings with no practice window: every harvest succeeds and reads nothing.
    testing::FreshFolder(kFolder);
    paths_.settings = {std::wstring(kFolder) + L"\\Tech.txt", std::wstring(kFolder) + L"\\Tech2.txt"};
    paths_.siomin = std::wstring(kFolder) + L"\\siomin.sdx";
    paths_.siomin2 = std::wstring(kFolder) + L"\\siomin2.sdx";
    paths_.sidexisProgram = std::wstring(kFolder) + L"\\Sidexis.exe";
    std::string lines;
    for (int i = 0; i < kEntryCount; ++i) lines += "\r\n";
    testing::WriteBytes(paths_.settings.tech, lines);
    testing::WriteBytes(paths_.settings.tech2, lines);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ASSERT_TRUE(window_.Create(presenter_));
    Pump();
  }
  void TearDown() override { testing::RemoveFolder(kFolder); }

  // Runs what is queued for this thread's windows (the activation is a posted message).
  static void Pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  HWND Item(int id) const { return GetDlgItem(window_.Window(), id); }
  int Count(const std::wstring& call) const {
    return static_cast<int>(std::count(journal_.begin(), journal_.end(), call));
  }

  static constexpr wchar_t kFolder[] = LR"(C:\corvane-launcher-window)";
  LinkPaths paths_;
  PortableFileSystem files_;
  PortableText text_;
  fakes::FakeClock clock_;
  fakes::FakeEnvironment environment_;
  fakes::FakeProgramStarter starter_;
  fakes::FakeMessageBoxes messages_;
  fakes::FakeDesktop desktop_;
  fakes::FakeGdi gdi_;
  Platform platform_{files_, text_, clock_, environment_, starter_, messages_, desktop_, gdi_};
  SharedState state_;
  fakes::Journal journal_;
  fakes::FakeScreenHost screen_{journal_, state_};
  LauncherWindow window_{GetModuleHandleW(nullptr)};
  LauncherPresenter presenter_{state_, paths_, platform_, window_, screen_};
};

TEST_F(LauncherWindowTest, LoadsOnTopThenHarvestsOnceWhenShownByTheProgram) {
  EXPECT_EQ(state_.screenMode, L"Normal");
  EXPECT_TRUE(GetWindowLongW(window_.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(IsWindowVisible(window_.Window()));
  EXPECT_EQ(Count(L"screen.Refresh"), 1) << "the first show is an activation";
  EXPECT_TRUE(messages_.shown.empty());

  // Coming back from another window is no activation of the launcher by the program.
  SendMessageW(window_.Window(), WM_ACTIVATE, WA_ACTIVE, 0);
  Pump();
  EXPECT_EQ(Count(L"screen.Refresh"), 1);

  // The screen gives way: hidden, then shown again by the screen, the launcher harvests.
  window_.Hide();
  EXPECT_FALSE(IsWindowVisible(window_.Window()));
  window_.Show();
  Pump();
  EXPECT_TRUE(IsWindowVisible(window_.Window()));
  EXPECT_EQ(Count(L"screen.Refresh"), 2);
}

TEST_F(LauncherWindowTest, PressesOnThePictureCarryTheirButtonAndModifiers) {
  HWND image = Item(launcher_id::kImage1);
  ASSERT_NE(image, nullptr);
  SendMessageW(image, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(20, 20));
  EXPECT_EQ(journal_.back(), L"screen.Show(Ctrl)");
  EXPECT_FALSE(IsWindowVisible(window_.Window())) << "the launcher hid itself";

  window_.Show();
  Pump();
  SendMessageW(image, WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, MAKELPARAM(20, 20));
  EXPECT_EQ(journal_.back(), L"screen.Show(Normal)");

  // Right + Shift is Shift; right alone asks to quit (answered No here).
  window_.Show();
  Pump();
  journal_.clear();
  SendMessageW(image, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(20, 20));
  EXPECT_EQ(journal_.back(), L"screen.Show(Normal)");
  messages_.answers = {false};
  SendMessageW(image, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
  ASSERT_FALSE(messages_.shown.empty());
  EXPECT_EQ(messages_.shown.back().title, L"Quitter ?");

  // A release dispatches nothing: the command runs at the press.
  journal_.clear();
  messages_.shown.clear();
  SendMessageW(image, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(20, 20));
  SendMessageW(image, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_TRUE(journal_.empty());
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(LauncherWindowTest, HelpBoxShowsTheHelpAndCloseBoxOnlyAsks) {
  HWND aide = Item(launcher_id::kAide);
  SendMessageW(window_.Window(), WM_COMMAND, MAKEWPARAM(launcher_id::kAide, STN_CLICKED),
               reinterpret_cast<LPARAM>(aide));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].title, L"Corvane Link");
  EXPECT_EQ(messages_.shown[0].text, kHelpText);
  EXPECT_EQ(journal_.size(), 1u) << "only the first activation's refresh";

  messages_.answers = {false};
  SendMessageW(window_.Window(), WM_CLOSE, 0, 0);
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[1].text, L"Voulez-vous fermer 'Corvane Link' ?");
  EXPECT_TRUE(IsWindow(window_.Window())) << "No keeps the launcher";
  EXPECT_FALSE(window_.QuitRequested());
}

TEST_F(LauncherWindowTest, HelpBoxLooksAsDesignedWithItsTooltip) {
  HWND aide = Item(launcher_id::kAide);
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
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&tooltip));
  ASSERT_NE(tooltip, nullptr);
  wchar_t text[512] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_.Window();
  tool.uId = reinterpret_cast<UINT_PTR>(aide);
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text),
            L"Clic : ouvre l'écran de lancement, Maj + Clic : lance Sidexis, Ctrl + Clic : ouvre l'écran de "
            L"paramétrage, Clic Droit : ferme l'application..");
}

}  // namespace
}  // namespace corvane
