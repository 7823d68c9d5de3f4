// The launcher and the screen together, end to end: which mode a click opens, what the
// screen shows, and what its buttons and close box leave in the files and on the desktop.
#include <gtest/gtest.h>
#include <windows.h>

#include "settings/screen/screen_presenter.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using screen_id::FieldBox;
using screen_id::FinderBox;

class ScreenE2e : public LinkTest {
 protected:
  static bool ItemVisible(HWND screen, int id) { return IsWindowVisible(GetDlgItem(screen, id)) != FALSE; }
  static void ExpectSettingsUnchanged() {
    EXPECT_EQ(ReadBytes(kTech), SettingsBytes("0"));
    EXPECT_EQ(ReadBytes(kTech2), SettingsBytes("0"));
  }
  // The configuration-only controls, all shown or all hidden.
  static void ExpectConfigurationControls(HWND screen, bool shown) {
    for (int entry = 1; entry <= kFieldCount; ++entry)
      EXPECT_EQ(ItemVisible(screen, FinderBox(FieldOfEntry(entry))), shown) << "finder box of entry " << entry;
    for (int id : {screen_id::kRaz, screen_id::kMontreSurClic, screen_id::kConsigne})
      EXPECT_EQ(ItemVisible(screen, id), shown) << id;
  }

  // Clicks the screen's close box, found by asking the window what lies along its caption.
  static bool ClickCloseBox(HWND screen) {
    RECT frame{};
    GetWindowRect(screen, &frame);
    for (int y = frame.top + 2; y < frame.top + 40; y += 2) {
      for (int x = frame.right - 2; x > frame.right - 80; x -= 2) {
        if (SendMessageW(screen, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) return ClickAt({x, y});
      }
    }
    return ClickAt({frame.right - 12, frame.top + 12});
  }
};

// Entry 15 at "1": Alt + click launches directly without the screen; a plain click hides the
// launcher, shows the screen in launch mode and hands off, and the launcher comes back only
// when the screen is closed; Shift + click shows the harvest without starting, LANCER hands off.
TEST_F(ScreenE2e, ScreenFlagShowsLaunchModeAltLaunchesDirectlyShiftOnlyShows) {
  WriteSettings("1");
  StartLink();
  // Alt is read from the keyboard state of the program's thread: the launcher must be the
  // foreground window when the key goes down.
  SetForegroundWindow(launcher_);
  ASSERT_TRUE(ClickAt(OnTooth(), 1, {"alt"}));
  ASSERT_TRUE(WaitForStarts(1));
  EXPECT_TRUE(LauncherVisible());
  EXPECT_EQ(ShownScreen(), nullptr);

  ASSERT_TRUE(ClickAt(OnTooth()));
  ASSERT_TRUE(WaitForStarts(2));
  HWND screen = VisibleScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_FALSE(LauncherVisible());
  EXPECT_EQ(testing::WindowCaption(screen), kScreenCaption);
  EXPECT_EQ(ItemText(screen, screen_id::kDemarrerSidexis), kLaunchCaption);
  EXPECT_TRUE(GetWindowLongW(screen, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_TRUE(ClickCloseBox(screen));
  ASSERT_TRUE(BackToLauncher(screen));
  EXPECT_EQ(Starts(), 2);

  ASSERT_NE(screen = OpenScreen({"shift"}), nullptr);
  EXPECT_FALSE(LauncherVisible());
  const std::pair<Field, std::wstring> shown[] = {{Field::NumDossier, L"1207"}, {Field::Nom, L"LEFÈVRE"},
                                                  {Field::Prenom, L"HELENE"},   {Field::NumSS, L"285037512345678"},
                                                  {Field::Civilite, L"Mme"},    {Field::Ville, L"Paris"}};
  for (const auto& [field, text] : shown) EXPECT_EQ(ItemText(screen, FieldBox(field)), text);
  ExpectConfigurationControls(screen, false);
  Screenshot("e2e-screen-launch");
  EXPECT_EQ(Starts(), 2) << "Shift shows, it does not start";
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  ASSERT_TRUE(WaitForStarts(3));
  EXPECT_TRUE(IsWindowVisible(screen)) << "the screen stays";
  EXPECT_FALSE(LauncherVisible());
}

// Ctrl + click opens the configuration mode. Its close box saves nothing (a ticked box stays
// in memory); "VALIDER" writes the loaded entries to both files; reset answered No changes
// nothing, answered Yes leaves the reset files and the launcher.
TEST_F(ScreenE2e, CtrlClickShowsConfigurationModeCloseSavesNothingValiderAndResetWrite) {
  StartLink();
  HWND screen = OpenScreen({"ctrl"});
  ASSERT_NE(screen, nullptr);
  EXPECT_FALSE(LauncherVisible());
  EXPECT_EQ(ItemText(screen, screen_id::kDemarrerSidexis), kValidateCaption);
  ExpectConfigurationControls(screen, true);
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"LEFÈVRE") << "the harvest ran first";
  Screenshot("e2e-screen-config");
  ASSERT_TRUE(Press(screen, screen_id::kMontreSurClic));
  ASSERT_TRUE(ClickCloseBox(screen));
  ASSERT_TRUE(BackToLauncher(screen));
  ExpectSettingsUnchanged();
  // The launcher reloaded entry 15 from the file: a plain click does not open the screen.
  ASSERT_TRUE(ClickAt(OnTooth()));
  ASSERT_TRUE(WaitForStarts(1));
  EXPECT_TRUE(LauncherVisible());
  EXPECT_EQ(ShownScreen(), nullptr);

  testing::WriteBytes(kTech2, std::string(17 * 2, '\n'));  // differs from Tech.txt
  ASSERT_NE(screen = OpenScreen({"ctrl"}), nullptr);
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  ASSERT_TRUE(BackToLauncher(screen));
  ExpectSettingsUnchanged();

  ASSERT_NE(screen = OpenScreen({"ctrl"}), nullptr);
  ASSERT_TRUE(Press(screen, screen_id::kRaz));
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(testing::WindowCaption(box), kResetTitle);
  EXPECT_EQ(testing::MessageBoxText(box), kResetQuestion);
  // The question belongs to the screen: nothing on it runs until the question is answered.
  EXPECT_EQ(GetWindow(box, GW_OWNER), screen);
  EXPECT_FALSE(IsWindowEnabled(screen));
  ASSERT_TRUE(Answer(box, IDNO));
  ExpectSettingsUnchanged();
  EXPECT_TRUE(IsWindowVisible(screen));
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"LEFÈVRE");
  ASSERT_TRUE(Press(screen, screen_id::kRaz));
  box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  testing::AnswerMessageBox(box, IDYES);
  ASSERT_TRUE(BackToLauncher(screen));
  EXPECT_EQ(ReadBytes(kTech).size(), 108u);
  EXPECT_EQ(ReadBytes(kTech2), ReadBytes(kTech));
  EXPECT_EQ(Starts(), 1);
}

}  // namespace
}  // namespace corvane::e2e
