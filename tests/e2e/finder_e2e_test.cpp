// The finder drag end to end: each stand-in practice program configured entirely by real drags
// from the finder boxes, then a plain click hands off its patient; the frame a drag draws on the
// practice window is in the guide's pictures.
#include "settings/link_settings.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

struct FinderCase {
  standin::Mode mode;
  bool fromNothing;  // no settings files at all, else the reset values
  const char* name;
};

class FinderE2e : public LinkTest, public ::testing::WithParamInterface<FinderCase> {
 protected:
  // Presses on the finder box, moves over the desktop to `to` and stays there; Release() ends it.
  static bool DragTo(HWND screen, Field field, POINT to) {
    const POINT from = CentreOf(GetDlgItem(screen, screen_id::FinderBox(field)));
    return Xdotool("mousemove" + At(from) + " mousedown 1 sleep 0.3 mousemove" +
                   At({(from.x + to.x) / 2, (from.y + to.y) / 2}) + " sleep 0.2 mousemove" + At(to) + " sleep 0.4");
  }
  static bool Release(HWND screen) {
    return Xdotool("mouseup 1") && WaitUntil([&] { return IsWindowVisible(screen) != FALSE; });
  }
  void AnswerMissingFile() {
    HWND box = GetParam().fromNothing ? MessageBoxOfLink() : nullptr;
    ASSERT_TRUE(!GetParam().fromNothing || (box && Answer(box, IDOK)));
  }
};

// From the reset values or from no file at all, Ctrl + click opens the configuration; every field
// is set by a drag (the surname before the file number, which decides a WinDev program's form),
// "VALIDER" writes what the stand-in's own table says, and a plain click hands off the patient.
TEST_P(FinderE2e, ConfiguredByDragsThenHandsOffThePatientShown) {
  const standin::Layout layout = standin::LayoutOf(GetParam().mode);
  practice_.Kill();
  ShowPatient(standin::PatientFile(), GetParam().mode);
  HWND practice = WaitForTopLevel(standin::Wide(layout.className), practice_.Id());
  std::vector<HWND> controls;  // in creation order, the order of the layout's rows
  EnumChildWindows(
      practice,
      [](HWND window, LPARAM found) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&controls));
  ASSERT_EQ(controls.size(), layout.controls.size());
  for (const wchar_t* file : {kTech, kTech2}) DeleteFileW(file);
  if (!GetParam().fromNothing) {
    LinkSettings reset;
    ApplyResetValues(reset);
    WinePlatform platform;
    SaveLinkSettings(reset, {kTech, kTech2}, platform.files, platform.text);
  }
  StartLink();
  AnswerMissingFile();
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == launcher_; }));
  ASSERT_TRUE(ClickAt(OnTooth(), 1, {"ctrl"}));
  AnswerMissingFile();
  HWND screen = VisibleScreen();
  ASSERT_NE(screen, nullptr);

  // The frame a drag draws on the practice window (the highlight tests check its pixels).
  RECT frame{};
  GetWindowRect(practice, &frame);
  ASSERT_TRUE(DragTo(screen, Field::Nom, {frame.right - 15, frame.bottom - 15}));
  Screenshot(std::string("e2e-finder-drag-") + GetParam().name);
  ASSERT_TRUE(Release(screen));
  for (int entry : {9, 10, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14}) {  // each inside its control
    const auto row = std::ranges::find(layout.controls, entry, &standin::Control::names) - layout.controls.begin();
    RECT rect{};
    GetWindowRect(controls[row], &rect);
    ASSERT_TRUE(DragTo(screen, FieldOfEntry(entry), {rect.right - 4, (rect.top + rect.bottom) / 2})) << entry;
    ASSERT_TRUE(Release(screen)) << entry;
  }
  Sleep(700);  // for the picture only: the screen, just shown again, paints its controls
  Screenshot(std::string("e2e-finder-configured-") + GetParam().name);
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  ASSERT_TRUE(BackToLauncher(screen));
  // Visiodent's title is matched live: its entry holds the title shown at the drop.
  std::array<std::string, 17> expected = standin::TechLines(layout);
  char title[256] = {};
  if (GetParam().mode == standin::Mode::Visiodent)
    expected[16] = std::string(title, GetWindowTextA(practice, title, 256)) + '\0';
  EXPECT_EQ(ReadBytes(kTech), standin::TechFileBytes(expected));
  EXPECT_EQ(ReadBytes(kTech2), ReadBytes(kTech));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == launcher_; }));
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectHandedOff(1);
}

INSTANTIATE_TEST_SUITE_P(EachPractice, FinderE2e,
                         ::testing::Values(FinderCase{standin::Mode::Plain, false, "plain"},
                                           FinderCase{standin::Mode::Julie, false, "julie"},
                                           FinderCase{standin::Mode::WinDev, false, "windev"},
                                           FinderCase{standin::Mode::Visiodent, false, "visiodent"},
                                           FinderCase{standin::Mode::WinDev, true, "windev_from_nothing"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane::e2e
