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
  // Opens the screen with a click on the tooth holding `keys`; the screen, or null.
  HWND OpenScreen(const std::vector<std::string>& keys) {
    if (!ClickAt(OnTooth(), 1, keys)) return nullptr;
    return VisibleScreen();
  }
  bool ItemVisible(HWND screen, int id) const { return IsWindowVisible(GetDlgItem(screen, id)) != FALSE; }
  void Press(HWND screen, int id) { ASSERT_TRUE(ClickAt(CentreOf(GetDlgItem(screen, id)))); }

  // The screen's close box, found by asking the window what lies along its caption.
  POINT CloseBox(HWND screen) const {
    RECT frame{};
    GetWindowRect(screen, &frame);
    for (int y = frame.top + 2; y < frame.top + 40; y += 2) {
      for (int x = frame.right - 2; x > frame.right - 80; x -= 2) {
        if (SendMessageW(screen, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) return {x, y};
      }
    }
    return {frame.right - 12, frame.top + 12};
  }
  bool LauncherBack() const {
    return testing::WaitUntil([&] { return LauncherVisible(); });
  }
  bool ScreenGone(HWND screen) const {
    return testing::WaitUntil([&] { return !IsWindow(screen) || !IsWindowVisible(screen); });
  }
};

TEST_F(ScreenE2e, ScreenFlagHidesTheLauncherShowsLaunchModeAndHandsOff) {
  WriteSettings("1");
  StartLink();
  ASSERT_TRUE(ClickAt(OnTooth()));
  ASSERT_TRUE(WaitForStarts(1));
  HWND screen = VisibleScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_FALSE(LauncherVisible());
  EXPECT_EQ(testing::WindowCaption(screen), L"Lien Sidexis");
  EXPECT_EQ(ItemText(screen, screen_id::kDemarrerSidexis), L"LANCER");
  EXPECT_NE(testing::ReadBytes(kSiomin).find("LEF\xC8VRE"), std::string::npos);
  EXPECT_TRUE(GetWindowLongW(screen, GWL_EXSTYLE) & WS_EX_TOPMOST);

  // The launcher comes back only when the screen is closed.
  ASSERT_TRUE(ClickAt(CloseBox(screen)));
  EXPECT_TRUE(LauncherBack());
  EXPECT_TRUE(ScreenGone(screen));
  EXPECT_EQ(Starts(), 1);
}

TEST_F(ScreenE2e, ShiftClickShowsTheHarvestWithoutStartingThenLancerHandsOff) {
  StartLink();
  HWND screen = OpenScreen({"shift"});
  ASSERT_NE(screen, nullptr);
  EXPECT_FALSE(LauncherVisible());
  EXPECT_EQ(ItemText(screen, screen_id::kDemarrerSidexis), L"LANCER");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumDossier)), L"1207");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"LEFÈVRE");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Prenom)), L"HELENE");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::NumSS)), L"285037512345678");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Civilite)), L"Mme");
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Ville)), L"Paris");
  EXPECT_FALSE(ItemVisible(screen, FinderBox(Field::NumDossier)));
  EXPECT_FALSE(ItemVisible(screen, screen_id::kRaz));
  EXPECT_FALSE(ItemVisible(screen, screen_id::kMontreSurClic));
  EXPECT_FALSE(ItemVisible(screen, screen_id::kConsigne));
  std::printf("screenshot: %s\n", Screenshot("e2e-screen-launch").c_str());
  EXPECT_EQ(Starts(), 0) << "Shift shows, it does not start";
  EXPECT_FALSE(testing::FileExists(kSiomin));

  Press(screen, screen_id::kDemarrerSidexis);
  ASSERT_TRUE(WaitForStarts(1));
  EXPECT_NE(testing::ReadBytes(kSiomin).find("HELENE_1207"), std::string::npos);
  EXPECT_TRUE(IsWindowVisible(screen)) << "the screen stays";
  EXPECT_FALSE(LauncherVisible());
}

TEST_F(ScreenE2e, CtrlClickShowsConfigurationModeAndValiderRewritesBothFiles) {
  StartLink();
  // Tech2.txt differs from Tech.txt: "VALIDER" writes the loaded entries to both.
  testing::WriteBytes(kTech2, std::string(17 * 2, '\n'));
  HWND screen = OpenScreen({"ctrl"});
  ASSERT_NE(screen, nullptr);
  EXPECT_FALSE(LauncherVisible());
  EXPECT_EQ(ItemText(screen, screen_id::kDemarrerSidexis), L"VALIDER");
  for (int entry = 1; entry <= kFieldCount; ++entry) {
    EXPECT_TRUE(ItemVisible(screen, FinderBox(FieldOfEntry(entry)))) << "finder box of entry " << entry;
  }
  EXPECT_TRUE(ItemVisible(screen, screen_id::kRaz));
  EXPECT_TRUE(ItemVisible(screen, screen_id::kMontreSurClic));
  EXPECT_TRUE(ItemVisible(screen, screen_id::kConsigne));
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"LEFÈVRE") << "the harvest ran first";
  std::printf("screenshot: %s\n", Screenshot("e2e-screen-config").c_str());

  Press(screen, screen_id::kDemarrerSidexis);
  ASSERT_TRUE(LauncherBack());
  EXPECT_TRUE(ScreenGone(screen));
  EXPECT_EQ(testing::ReadBytes(kTech), SettingsBytes("0"));
  EXPECT_EQ(testing::ReadBytes(kTech2), SettingsBytes("0"));
  EXPECT_EQ(Starts(), 0);
}

TEST_F(ScreenE2e, ResetAnsweredNoChangesNothingYesLeavesResetFilesAndTheLauncher) {
  StartLink();
  HWND screen = OpenScreen({"ctrl"});
  ASSERT_NE(screen, nullptr);
  Press(screen, screen_id::kRaz);
  HWND box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(testing::WindowCaption(box), L"Suppression du paramétrage");
  EXPECT_EQ(testing::MessageBoxText(box), L"Voulez-vous vraiment supprimer le paramétrage actuel ?");
  testing::AnswerMessageBox(box, IDNO);
  ASSERT_TRUE(testing::WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_EQ(testing::ReadBytes(kTech), SettingsBytes("0"));
  EXPECT_TRUE(IsWindowVisible(screen));
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"LEFÈVRE");

  Press(screen, screen_id::kRaz);
  box = MessageBoxOfLink();
  ASSERT_NE(box, nullptr);
  testing::AnswerMessageBox(box, IDYES);
  ASSERT_TRUE(LauncherBack());
  EXPECT_TRUE(ScreenGone(screen));
  EXPECT_EQ(testing::ReadBytes(kTech).size(), 108u);
  EXPECT_EQ(testing::ReadBytes(kTech2), testing::ReadBytes(kTech));
  EXPECT_EQ(Starts(), 0);
}

TEST_F(ScreenE2e, CloseBoxBringsTheLauncherBackAndSavesNothing) {
  StartLink();
  HWND screen = OpenScreen({"ctrl"});
  ASSERT_NE(screen, nullptr);
  // Ticking the check box changes entry 15 in memory only.
  Press(screen, screen_id::kMontreSurClic);
  ASSERT_TRUE(ClickAt(CloseBox(screen)));
  ASSERT_TRUE(LauncherBack());
  EXPECT_TRUE(ScreenGone(screen));
  EXPECT_EQ(testing::ReadBytes(kTech), SettingsBytes("0"));
  EXPECT_EQ(testing::ReadBytes(kTech2), SettingsBytes("0"));

  // The launcher reloaded entry 15 from the file: a plain click does not open the screen.
  ASSERT_TRUE(ClickAt(OnTooth()));
  ASSERT_TRUE(WaitForStarts(1));
  EXPECT_TRUE(LauncherVisible());
  HWND again = testing::WaitForTopLevel(kScreenClassName, link_.Id(), nullptr, std::chrono::milliseconds(0));
  EXPECT_TRUE(again == nullptr || !IsWindowVisible(again));
}

}  // namespace
}  // namespace corvane::e2e
