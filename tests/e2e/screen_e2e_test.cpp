// The launcher and the screen together, end to end: which mode a click opens, what the screen
// shows, and what its buttons and close box leave in the files and on the desktop.
#include "settings/screen/screen_layout.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using namespace screen_id;

class ScreenE2e : public LinkTest {
 protected:
  static void ExpectSettingsUnchanged() {
    EXPECT_EQ(ReadBytes(kTech), SettingsBytes("0"));
    EXPECT_EQ(ReadBytes(kTech2), SettingsBytes("0"));
  }
  // Each control where the screen's table puts it (at 96 DPI) saying what it says, shown in this
  // mode or not, Tab through the shown ones that take the focus in the table's order, and the
  // table's colours on the screen once painted: a field's or label's ground and text, and the
  // window's blue where a control is hidden.
  static void ExpectAsTheTableSays(HWND screen, bool configuration) {
    RECT client{};
    GetClientRect(screen, &client);
    EXPECT_TRUE(client.right == kScreenClientWidth && client.bottom == kScreenClientHeight);
    std::vector<int> tabStops, visited;
    for (const ControlRow& row : kScreenLayout) {
      const RECT rect = RectOf(screen, row.id), expected{row.x, row.y, row.x + row.width, row.y + row.height};
      EXPECT_TRUE(EqualRect(&rect, &expected)) << row.name;
      if (row.kind != ControlKind::FieldBox && row.id != kDemarrerSidexis)
        EXPECT_EQ(ItemText(screen, row.id), row.caption);
      EXPECT_EQ(IsWindowVisible(GetDlgItem(screen, row.id)) != FALSE, Shown(row, configuration)) << row.name;
      if (Shown(row, configuration) && row.kind != ControlKind::Label && row.kind != ControlKind::Picture)
        tabStops.push_back(row.id);
    }
    HWND first = GetDlgItem(screen, tabStops.front()), current = first;
    do visited.push_back(GetDlgCtrlID(current));
    while ((current = GetNextDlgTabItem(screen, current, FALSE)) != first && visited.size() < 64);
    EXPECT_EQ(visited, tabStops);

    MapWindowPoints(screen, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::wstring wrong;
    const auto coloured = [&] {
      const Pixels pixels = CaptureScreen(client);
      const auto shows = [&](const RECT& rect, ScreenColour colour) {
        if (colour == kSystemWindowColour) colour = GetSysColor(COLOR_WINDOW);
        bool found = false;
        for (LONG y = rect.top; y < rect.bottom; ++y)
          for (LONG x = rect.left; x < rect.right; ++x)
            found |= pixels[static_cast<std::size_t>(y * (client.right - client.left) + x)] == colour;
        return found;
      };
      wrong.clear();
      for (const ControlRow& row : kScreenLayout) {
        const RECT r = RectOf(screen, row.id);
        const LONG x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        const bool right = !Shown(row, configuration) ? shows({x, y, x + 1, y + 1}, kDarkBlue)
                           : row.kind != ControlKind::FieldBox && row.kind != ControlKind::Label
                               ? true
                               : shows(r, row.ground) && (ItemText(screen, row.id).empty() || shows(r, row.text));
        if (!right) wrong += std::wstring(row.name) + L" ";
      }
      return wrong.empty();
    };
    EXPECT_TRUE(WaitUntil(coloured)) << "colours not as the table says: " << wrong;
  }
  static bool Shown(const ControlRow& row, bool configuration) {
    return configuration || row.shownIn == ShownIn::BothModes;
  }
  static RECT RectOf(HWND screen, int id) {  // in the screen's client coordinates
    RECT rect{};
    GetWindowRect(GetDlgItem(screen, id), &rect);
    MapWindowPoints(nullptr, screen, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  // Clicks the close box, found by asking the window what lies along its caption.
  static bool ClickCloseBox(HWND screen) {
    RECT frame{};
    GetWindowRect(screen, &frame);
    for (int y = frame.top + 2; y < frame.top + 40; y += 2)
      for (int x = frame.right - 2; x > frame.right - 80; x -= 2)
        if (SendMessageW(screen, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) return ClickAt({x, y});
    return false;
  }
};

// Entry 15 at "1": Alt + click hands off without the screen; a plain click shows the screen in
// launch mode instead of the launcher and hands off, the launcher back once the screen is
// closed; Shift + click shows the harvest without a start, LANCER hands off.
TEST_F(ScreenE2e, ScreenFlagShowsLaunchModeAltLaunchesDirectlyShiftOnlyShows) {
  WriteSettings("1");
  StartLink();
  SetForegroundWindow(launcher_);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == launcher_; }));
  ASSERT_TRUE(ClickAt(OnTooth(), 1, {"alt"}));
  ExpectHandedOff(1);
  EXPECT_TRUE(LauncherVisible() && !ShownScreen());
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(2);
  HWND screen = VisibleScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_FALSE(LauncherVisible());
  EXPECT_EQ(WindowCaption(screen), kScreenCaption);
  EXPECT_EQ(ItemText(screen, kDemarrerSidexis), kLaunchCaption);
  EXPECT_TRUE(GetWindowLongW(screen, GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_TRUE(ClickCloseBox(screen));
  ASSERT_TRUE(BackToLauncher(screen));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(screen); })) << "the close box destroys the screen";

  ASSERT_NE(screen = OpenScreen({"shift"}), nullptr);
  EXPECT_FALSE(LauncherVisible());
  EXPECT_TRUE(ItemText(screen, FieldBox(Field::Nom)) == L"LEFÈVRE" &&
              ItemText(screen, FieldBox(Field::Ville)) == L"Paris");
  ExpectAsTheTableSays(screen, false);
  Screenshot("e2e-screen-launch");
  EXPECT_EQ(Starts(), 2) << "Shift shows, it does not start";
  ASSERT_TRUE(Press(screen, kDemarrerSidexis));
  ExpectHandedOff(3);
  EXPECT_TRUE(IsWindowVisible(screen)) << "the screen stays";
}

// Ctrl + click opens the configuration. Its close box saves nothing (the check box ticked stays
// in memory); reset answered No changes nothing, answered Yes leaves the reset files and the
// launcher. ("VALIDER" writes both files: the finder tests.)
TEST_F(ScreenE2e, CtrlClickShowsConfigurationModeCloseSavesNothingResetAnsweredWrites) {
  StartLink();
  HWND screen = OpenScreen({"ctrl"});
  ASSERT_NE(screen, nullptr);
  EXPECT_FALSE(LauncherVisible());
  EXPECT_EQ(ItemText(screen, kDemarrerSidexis), kValidateCaption);
  ExpectAsTheTableSays(screen, true);
  EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"LEFÈVRE") << "the harvest ran first";
  Screenshot("e2e-screen-config");
  ASSERT_TRUE(Press(screen, kMontreSurClic));
  ASSERT_TRUE(ClickCloseBox(screen));
  ASSERT_TRUE(BackToLauncher(screen));
  ExpectSettingsUnchanged();
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
  EXPECT_EQ(ShownScreen(), nullptr) << "entry 15 reloaded from the file";

  ASSERT_NE(screen = OpenScreen({"ctrl"}), nullptr);
  for (const int answer : {IDNO, IDYES}) {
    ASSERT_TRUE(Press(screen, kRaz));
    HWND box = MessageBoxOfLink();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowCaption(box), kResetTitle);
    EXPECT_EQ(MessageBoxText(box), kResetQuestion);
    EXPECT_EQ(GetWindow(box, GW_OWNER), screen) << "nothing on the screen runs until it is answered";
    EXPECT_FALSE(IsWindowEnabled(screen));
    ASSERT_TRUE(Answer(box, answer));
    if (answer == IDNO) {
      ExpectSettingsUnchanged();
      EXPECT_EQ(ItemText(screen, FieldBox(Field::Nom)), L"LEFÈVRE");
    }
  }
  ASSERT_TRUE(BackToLauncher(screen));
  EXPECT_EQ(ReadBytes(kTech).size(), 108u);
  EXPECT_EQ(ReadBytes(kTech2), ReadBytes(kTech));
}

}  // namespace
}  // namespace corvane::e2e
