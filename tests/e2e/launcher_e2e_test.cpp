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

TEST_F(LauncherE2e, StandsAtItsPlaceOnTopWithItsCaptionAndScreenMatchesX) {
  StartLink();
  EXPECT_EQ(testing::WindowCaption(launcher_), L"Corvane Link");
  EXPECT_TRUE(GetWindowLongW(launcher_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT client{};
  GetClientRect(launcher_, &client);
  POINT origin{0, 0};
  ClientToScreen(launcher_, &origin);
  EXPECT_EQ(origin.x, 70);
  EXPECT_EQ(origin.y, 455);
  EXPECT_EQ(client.right, 69);
  EXPECT_EQ(client.bottom, 60);
  RECT aide{};
  HWND aideWindow = GetDlgItem(launcher_, launcher_id::kAide);
  GetWindowRect(aideWindow, &aide);
  MapWindowPoints(nullptr, launcher_, reinterpret_cast<POINT*>(&aide), 2);
  EXPECT_EQ(aide.left, 56);
  EXPECT_EQ(aide.top, 0);
  EXPECT_EQ(aide.right, 69) << "its right edge meets the client area's";
  EXPECT_EQ(aide.bottom, 13);
  EXPECT_EQ(testing::WindowCaption(aideWindow), L"?");

  // Windows screen coordinates are the X display's: the clicks below land where aimed.
  ASSERT_TRUE(Xdotool("mousemove 300 700"));
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 300);
  EXPECT_EQ(cursor.y, 700);
  EXPECT_EQ(WindowFromPoint(OnTooth()), GetDlgItem(launcher_, launcher_id::kImage1));
  EXPECT_EQ(WindowFromPoint(OnHelpBox()), aideWindow) << "the ? box lies above the picture";
  std::printf("screenshot: %s\n", Screenshot("e2e-launcher").c_str());
}

TEST_F(LauncherE2e, PlainClickHandsOffThePatientShownAndStartsTheXRayProgramOnce) {
  StartLink();
  ASSERT_TRUE(ClickAt(OnTooth()));
  ASSERT_TRUE(WaitForStarts(1)) << "the X-ray program was not started";
  const std::string handOff = testing::ReadBytes(kSiomin);
  EXPECT_NE(handOff.find("LEF\xC8VRE"), std::string::npos);
  EXPECT_NE(handOff.find("HELENE_1207"), std::string::npos);
  EXPECT_NE(handOff.find("285037512345678"), std::string::npos);
  EXPECT_EQ(testing::ReadBytes(kSiomin2), handOff);
  EXPECT_EQ(testing::ReadBytes(kStarts), Hex(handOff) + "\r\n") << "the files were complete before the start";
  EXPECT_TRUE(LauncherVisible()) << "the launcher stays";
  HWND screen = testing::WaitForTopLevel(kScreenClassName, link_.Id(), nullptr, std::chrono::milliseconds(0));
  EXPECT_TRUE(screen == nullptr || !IsWindowVisible(screen)) << "no screen with entry 15 at 0";

  // The practice program switches patient: the next click hands off the new one.
  testing::WriteBytes(kPatientFile, PatientFile("1300", "Martin"));
  ASSERT_TRUE(testing::WaitUntil([] { return testing::ReadBytes(std::wstring(kPatientFile) + L".shown") == "1300"; }));
  ASSERT_TRUE(ClickAt(OnTooth(), 2));  // the middle button acts as the left one
  ASSERT_TRUE(WaitForStarts(2));
  EXPECT_NE(testing::ReadBytes(kSiomin).find("HELENE_1300"), std::string::npos);
  EXPECT_NE(testing::ReadBytes(kSiomin).find("MARTIN"), std::string::npos);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(Starts(), 2) << "one start per click";
  EXPECT_TRUE(NoMessageBoxOfLink());
}

TEST_F(LauncherE2e, AltClickLaunchesDirectlyEvenWithTheScreenFlag) {
  WriteSettings("1");
  StartLink();
  // Alt is read from the keyboard state of the program's thread: the launcher must be the
  // foreground window when the key goes down.
  SetForegroundWindow(launcher_);
  ASSERT_TRUE(ClickAt(OnTooth(), 1, {"alt"}));
  ASSERT_TRUE(WaitForStarts(1));
  EXPECT_TRUE(LauncherVisible());
  HWND screen = testing::WaitForTopLevel(kScreenClassName, link_.Id(), nullptr, std::chrono::milliseconds(0));
  EXPECT_TRUE(screen == nullptr || !IsWindowVisible(screen));
}

TEST_F(LauncherE2e, RightClickAsksToQuitNoKeepsRunningYesEnds) {
  StartLink();
  ASSERT_TRUE(ClickAt(OnTooth(), 3));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(testing::WindowCaption(box), L"Quitter ?");
  EXPECT_EQ(testing::MessageBoxText(box), L"Voulez-vous fermer 'Corvane Link' ?");
  EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
  EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "no Cancel";
  testing::AnswerMessageBox(box, IDNO);
  ASSERT_TRUE(testing::WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_FALSE(link_.WaitExit(500));
  EXPECT_TRUE(LauncherVisible());
  EXPECT_EQ(Starts(), 0);

  ASSERT_TRUE(ClickAt(OnTooth(), 3));
  box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  testing::AnswerMessageBox(box, IDYES);
  DWORD exitCode = 1;
  EXPECT_TRUE(link_.WaitExit(10000, &exitCode)) << "Yes ends the program";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(Starts(), 0);
}

TEST_F(LauncherE2e, HelpBoxListsTheClicksAndDispatchesNothing) {
  StartLink();
  ASSERT_TRUE(ClickAt(OnHelpBox()));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(testing::WindowCaption(box), L"Corvane Link");
  EXPECT_EQ(testing::MessageBoxText(box), kHelpText);
  EXPECT_EQ(GetDlgItem(box, IDNO), nullptr) << "OK only";
  std::printf("screenshot: %s\n", Screenshot("e2e-help").c_str());
  testing::AnswerMessageBox(box, IDOK);
  ASSERT_TRUE(testing::WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_EQ(Starts(), 0);
  EXPECT_TRUE(LauncherVisible());
  HWND screen = testing::WaitForTopLevel(kScreenClassName, link_.Id(), nullptr, std::chrono::milliseconds(0));
  EXPECT_TRUE(screen == nullptr || !IsWindowVisible(screen));
}

TEST_F(LauncherE2e, MissingSettingsFileIsReportedAndTheProgramGoesOn) {
  DeleteFileW(kTech);
  StartLink();
  // The first activation cannot read the settings.
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_NE(testing::MessageBoxText(box).find(L"Tech.txt"), std::wstring::npos) << testing::MessageBoxText(box).c_str();
  EXPECT_NE(testing::MessageBoxText(box).find(L"Erreur N°"), std::wstring::npos);
  testing::AnswerMessageBox(box, IDOK);
  ASSERT_TRUE(testing::WaitUntil([&] { return !IsWindow(box); }));

  // A click: reported again, nothing handed off, no screen, still running.
  ASSERT_TRUE(ClickAt(OnTooth(), 1, {"shift"}));
  box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  testing::AnswerMessageBox(box, IDOK);
  ASSERT_TRUE(testing::WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_TRUE(link_.IsRunning());
  EXPECT_TRUE(LauncherVisible());
  EXPECT_EQ(Starts(), 0);
  EXPECT_FALSE(testing::FileExists(kSiomin));

  // The file is back: the next click works.
  WriteSettings("0");
  ASSERT_TRUE(ClickAt(OnTooth()));
  EXPECT_TRUE(WaitForStarts(1));
}

}  // namespace
}  // namespace corvane::e2e
