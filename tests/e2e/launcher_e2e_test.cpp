// The launcher end to end: the real program, real clicks, the stand-in practice program and
// the stand-in X-ray program.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "launcher/launcher_presenter.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using LauncherE2e = LinkTest;

TEST_F(LauncherE2e, StandsInPlaceShowsItsHelpAndAsksBeforeQuitting) {
  StartLink();
  EXPECT_EQ(testing::WindowCaption(launcher_), kLauncherCaption);
  EXPECT_TRUE(GetWindowLongW(launcher_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT client{};
  GetClientRect(launcher_, &client);
  POINT origin{0, 0};
  ClientToScreen(launcher_, &origin);
  EXPECT_EQ((std::vector<LONG>{origin.x, origin.y, client.right, client.bottom}),
            (std::vector<LONG>{launcher_layout::kClientLeft, launcher_layout::kClientTop, launcher_layout::kClientWidth,
                               launcher_layout::kClientHeight}));
  HWND aideWindow = GetDlgItem(launcher_, launcher_id::kAide);
  RECT aide{};
  GetWindowRect(aideWindow, &aide);
  MapWindowPoints(nullptr, launcher_, reinterpret_cast<POINT*>(&aide), 2);
  EXPECT_EQ((std::vector<LONG>{aide.left, aide.top, aide.right, aide.bottom}), (std::vector<LONG>{56, 0, 69, 13}))
      << "its right edge meets the client area's";
  EXPECT_EQ(testing::WindowCaption(aideWindow), L"?");

  // Windows screen coordinates are the X display's: the clicks below land where aimed.
  ASSERT_TRUE(Xdotool("mousemove 300 700"));
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 300);
  EXPECT_EQ(cursor.y, 700);
  EXPECT_EQ(WindowFromPoint(OnTooth()), GetDlgItem(launcher_, launcher_id::kImage1));
  EXPECT_EQ(WindowFromPoint(OnHelpBox()), aideWindow) << "the ? box lies above the picture";
  Screenshot("e2e-launcher");

  // The "?" box shows the help, OK only, and dispatches nothing.
  ASSERT_TRUE(ClickAt(OnHelpBox()));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(testing::WindowCaption(box), kLauncherCaption);
  EXPECT_EQ(testing::MessageBoxText(box), kHelpText);
  EXPECT_EQ(GetDlgItem(box, IDNO), nullptr) << "OK only";
  Screenshot("e2e-help");
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_EQ(ShownScreen(), nullptr);

  // A right click asks to quit: No keeps the program, Yes ends it.
  ASSERT_TRUE(ClickAt(OnTooth(), 3));
  box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(testing::WindowCaption(box), kQuitTitle);
  EXPECT_EQ(testing::MessageBoxText(box), kQuitQuestion);
  EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "no Cancel";
  ASSERT_TRUE(Answer(box, IDNO));
  EXPECT_FALSE(link_.WaitExit(500));
  EXPECT_TRUE(LauncherVisible());

  ASSERT_TRUE(ClickAt(OnTooth(), 3));
  box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  testing::AnswerMessageBox(box, IDYES);
  DWORD exitCode = 1;
  EXPECT_TRUE(link_.WaitExit(10000, &exitCode)) << "Yes ends the program";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(Starts(), 0);
}

// A missing Tech.txt is reported at the first activation and at each click, and the program
// goes on; once the file is back, a plain click hands off the patient shown and starts the
// X-ray program once.
TEST_F(LauncherE2e, MissingSettingsAreReportedThenAPlainClickHandsOffThePatientShown) {
  DeleteFileW(kTech);
  StartLink();
  for (const bool afterClick : {false, true}) {
    ASSERT_TRUE(!afterClick || ClickAt(OnTooth(), 1, {"shift"}));
    HWND box = MessageBoxOfLink();
    ASSERT_NE(box, nullptr) << afterClick;
    const std::wstring text = testing::MessageBoxText(box);
    EXPECT_NE(text.find(L"Tech.txt"), std::wstring::npos) << text.c_str();
    EXPECT_NE(text.find(L"Erreur N°"), std::wstring::npos);
    ASSERT_TRUE(Answer(box, IDOK));
  }
  EXPECT_TRUE(link_.IsRunning());
  EXPECT_EQ(Starts(), 0);
  EXPECT_FALSE(testing::FileExists(kSiomin));

  WriteSettings("0");
  ASSERT_TRUE(ClickAt(OnTooth()));
  const std::string handOff = ExpectDemoPatientHandedOff();
  EXPECT_EQ(ReadBytes(kSiomin2), handOff);
  EXPECT_EQ(ReadBytes(kStarts), Hex(handOff) + "\r\n") << "the files were complete before the start";
  EXPECT_TRUE(LauncherVisible()) << "the launcher stays";
  EXPECT_EQ(ShownScreen(), nullptr) << "no screen with entry 15 at 0";

  // The practice program switches patient: the next click hands off the new one.
  testing::WriteBytes(kPatientFile, PatientFile("1300", "Martin"));
  ASSERT_TRUE(testing::WaitUntil([] { return ReadBytes(kShownFile) == "1300"; }));
  ASSERT_TRUE(ClickAt(OnTooth(), 2));  // the middle button acts as the left one
  ASSERT_TRUE(WaitForStarts(2));
  EXPECT_NE(ReadBytes(kSiomin).find("HELENE_1300"), std::string::npos);
  EXPECT_NE(ReadBytes(kSiomin).find("MARTIN"), std::string::npos);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(Starts(), 2) << "one start per click";
  EXPECT_EQ(testing::WaitForMessageBox(link_.Id(), std::chrono::milliseconds(300)), nullptr);
}

// The other reading modes end to end: the practice program of each shows a patient of its
// own and a plain click hands that patient off.
TEST_F(LauncherE2e, APlainClickHandsOffThePatientInEachOtherReadingMode) {
  StartLink();
  int starts = 0;
  for (const standin::Mode mode : {standin::Mode::Julie, standin::Mode::WinDev, standin::Mode::Visiodent}) {
    SCOPED_TRACE(standin::LayoutOf(mode).name);
    const std::string numDossier = std::to_string(1300 + starts);
    practice_.Kill();
    WriteSettings("0", mode);
    testing::WriteBytes(kPatientFile, PatientFile(numDossier, "Martin"));
    DeleteFileW(kShownFile.c_str());
    ASSERT_TRUE(practice_.StartPractice(mode, kPatientFile));
    ASSERT_TRUE(testing::WaitUntil([] { return testing::FileExists(kShownFile); }));
    ASSERT_TRUE(ClickAt(OnTooth()));
    ASSERT_TRUE(WaitForStarts(++starts));
    const std::string handOff = ReadBytes(kSiomin);
    EXPECT_NE(handOff.find("MARTIN"), std::string::npos);
    EXPECT_NE(handOff.find("HELENE_" + numDossier), std::string::npos);
    EXPECT_NE(handOff.find("285037512345678"), std::string::npos);
  }
}

}  // namespace
}  // namespace corvane::e2e
