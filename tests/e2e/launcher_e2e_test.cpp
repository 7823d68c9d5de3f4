// The launcher end to end: the real program, real clicks, the stand-in programs.
#include "reader/harvest.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using LauncherE2e = LinkTest;
using namespace launcher_layout;

// Whether the window's rectangle, in the client coordinates of `in` (null: the screen), is this.
bool At(HWND window, HWND in, int left, int top, int width, int height) {
  RECT rect{}, expected{left, top, left + width, top + height};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, in, reinterpret_cast<POINT*>(&rect), 2);
  return EqualRect(&rect, &expected);
}

// In its place, on top, the "?" box above the picture; the box shows the help (OK only, nothing
// dispatched); a right click asks to quit: No keeps the program, Yes ends it.
TEST_F(LauncherE2e, StandsInPlaceShowsItsHelpAndAsksBeforeQuitting) {
  StartLink();
  EXPECT_EQ(WindowCaption(launcher_), kLauncherCaption);
  EXPECT_TRUE(GetWindowLongW(launcher_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HWND picture = GetDlgItem(launcher_, launcher_id::kImage1), aide = GetDlgItem(launcher_, launcher_id::kAide);
  RECT client{};
  GetClientRect(launcher_, &client);
  EXPECT_TRUE(client.right == kClientWidth && client.bottom == kClientHeight);
  EXPECT_TRUE(At(picture, nullptr, kClientLeft, kClientTop, kImageWidth, kImageHeight));
  EXPECT_TRUE(At(aide, launcher_, kAideLeft, kAideTop, kAideSize, kAideSize));
  ASSERT_TRUE(Xdotool("mousemove 300 700"));  // the X display's coordinates are Windows' own
  POINT cursor{};
  EXPECT_TRUE(GetCursorPos(&cursor) && cursor.x == 300 && cursor.y == 700);
  EXPECT_EQ(WindowFromPoint(OnTooth()), picture);
  EXPECT_EQ(WindowFromPoint(CentreOf(aide)), aide);
  Screenshot("e2e-launcher");
  // The "?" box: the caption text colour on the highlight colour, and its tooltip under the pointer.
  RECT box{};
  GetWindowRect(aide, &box);
  Pixels pixels = CaptureScreen(box);
  for (const int colour : {COLOR_HIGHLIGHT, COLOR_CAPTIONTEXT}) {
    const COLORREF c = GetSysColor(colour);
    EXPECT_NE(
        std::ranges::count(pixels, static_cast<std::uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c))),
        0);
  }
  HWND tip = nullptr;
  ASSERT_TRUE(Xdotool("mousemove " + std::to_string(CentreOf(aide).x) + " " + std::to_string(CentreOf(aide).y)));
  ASSERT_TRUE(
      WaitUntil([&] { return IsWindowVisible(tip = WaitForTopLevel(L"tooltips_class32", link_.Id(), nullptr, {})); }));
  wchar_t tipText[512] = {};
  SendMessageW(tip, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(tipText));
  EXPECT_EQ(std::wstring(tipText), kHelpTooltip);

  ASSERT_TRUE(ClickAt(CentreOf(aide)));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowCaption(box), kLauncherCaption);
  EXPECT_EQ(MessageBoxText(box), kHelpText);
  EXPECT_EQ(GetDlgItem(box, IDNO), nullptr) << "OK only";
  Screenshot("e2e-help");
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_EQ(ShownScreen(), nullptr);
  for (const int answer : {IDNO, IDYES}) {
    ASSERT_TRUE(ClickAt(OnTooth(), 3));
    ASSERT_NE(box = MessageBoxOfLink(), nullptr);
    EXPECT_EQ(WindowCaption(box), kQuitTitle);
    EXPECT_EQ(MessageBoxText(box), kQuitQuestion);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "no Cancel";
    ASSERT_TRUE(Answer(box, answer));
  }
  DWORD exitCode = 1;
  EXPECT_TRUE(link_.WaitExit(10000, &exitCode) && exitCode == 0) << "Yes ends the program";
  EXPECT_EQ(Starts(), 0);
}

// A missing Tech.txt is reported at the first activation and at each click, and the program goes
// on; once the file is back, a plain click hands off the patient shown; the middle button acts
// as the left one, on the next patient.
TEST_F(LauncherE2e, MissingSettingsAreReportedThenAPlainClickHandsOffThePatientShown) {
  DeleteFileW(kTech);
  StartLink();
  for (const bool afterClick : {false, true}) {
    ASSERT_TRUE(!afterClick || ClickAt(OnTooth(), 1, {"shift"}));
    HWND box = MessageBoxOfLink();
    ASSERT_NE(box, nullptr) << afterClick;
    EXPECT_NE(MessageBoxText(box).find(L"Tech.txt"), std::wstring::npos);
    EXPECT_NE(MessageBoxText(box).find(L"Erreur N°"), std::wstring::npos);
    ASSERT_TRUE(Answer(box, IDOK));
  }
  EXPECT_TRUE(link_.IsRunning());
  EXPECT_FALSE(FileExists(kSiomin));
  WriteSettings("0");
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
  EXPECT_TRUE(LauncherVisible()) << "the launcher stays";
  EXPECT_EQ(ShownScreen(), nullptr) << "no screen with entry 15 at 0";
  ShowPatient(standin::PatientFile("1300", "Martin"));
  ASSERT_TRUE(ClickAt(OnTooth(), 2));
  ExpectHandedOff(2, std::string("MARTIN\0HELENE_1300", 18));
  EXPECT_EQ(WaitForMessageBox(link_.Id(), std::chrono::milliseconds(500)), nullptr);
  EXPECT_EQ(Starts(), 2) << "one start per click";
}

// The practice program stops answering: the click gives the read up, says so, hands nothing off.
TEST_F(LauncherE2e, AHungPracticeProgramIsReportedAndNothingIsHandedOff) {
  StartLink();
  ShowPatient(standin::PatientFile() + standin::kKeyHang + "=30\r\n");
  ASSERT_TRUE(ClickAt(OnTooth()));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_NE(MessageBoxText(box).find(PracticeNotAnswering().Description()), std::wstring::npos);
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(link_.IsRunning() && LauncherVisible());
  EXPECT_FALSE(FileExists(kSiomin));
}

}  // namespace
}  // namespace corvane::e2e
