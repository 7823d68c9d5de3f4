// The finder drag end to end: each stand-in practice program configured entirely by real
// drags from the finder boxes, then a plain click hands off its patient; and the frame the drag
// draws on a practice window is gone after the drop.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "settings/link_settings.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using screen_id::FinderBox;

struct FinderCase {
  standin::Mode mode;
  bool fromNothing;  // no settings files at all, else the reset values
  const char* name;
};

std::string At(POINT point) {
  return std::to_string(point.x) + " " + std::to_string(point.y);
}

class FinderE2e : public LinkTest, public ::testing::WithParamInterface<FinderCase> {
 protected:
  // The stand-in in the case's mode, with the settings files the case starts from.
  void StartCase() {
    practice_.Kill();
    DeleteFileW(kShownFile.c_str());
    ASSERT_TRUE(practice_.StartPractice(GetParam().mode, kPatientFile));
    ASSERT_TRUE(testing::WaitUntil([] { return testing::FileExists(kShownFile); }));
    layout_ = standin::LayoutOf(GetParam().mode);
    practiceWindow_ = testing::WaitForTopLevel(standin::Wide(layout_.className), practice_.Id());
    ASSERT_NE(practiceWindow_, nullptr);
    // The stand-in's windows in creation order, which is the order of its layout's rows.
    EnumChildWindows(
        practiceWindow_,
        [](HWND window, LPARAM found) {
          reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls_));
    ASSERT_EQ(controls_.size(), layout_.controls.size());
    DeleteFileW(kTech);
    DeleteFileW(kTech2);
    if (GetParam().fromNothing) return;
    LinkSettings reset;
    ApplyResetValues(reset);
    testing::WinePlatform platform;
    SaveLinkSettings(reset, {kTech, kTech2}, platform.files, platform.text);
  }

  // Answers the report of the missing settings file, when the case starts from nothing.
  void AnswerMissingFile() {
    if (!GetParam().fromNothing) return;
    HWND box = MessageBoxOfLink();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(Answer(box, IDOK));
  }

  // Where a drop picks the control that shows `entry`: inside it, clear of its children.
  POINT TargetOf(int entry) const {
    for (std::size_t row = 0; row < layout_.controls.size(); ++row) {
      if (layout_.controls[row].names != entry) continue;
      RECT rect{};
      GetWindowRect(controls_[row], &rect);
      return {rect.right - 4, (rect.top + rect.bottom) / 2};
    }
    return {};
  }

  // Presses on the finder box, moves over the desktop to `to` and stays there; Release() ends it.
  static bool DragTo(HWND screen, Field box, POINT to) {
    const POINT from = CentreOf(GetDlgItem(screen, FinderBox(box)));
    const POINT middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
    return Xdotool("mousemove " + At(from) + " mousedown 1 sleep 0.3 mousemove " + At(middle) +
                   " sleep 0.2 mousemove " + At(to) + " sleep 0.4");
  }
  static bool Release(HWND screen) {
    return Xdotool("mouseup 1") && testing::WaitUntil([&] { return IsWindowVisible(screen) != FALSE; });
  }

  standin::Layout layout_;
  HWND practiceWindow_ = nullptr;
  std::vector<HWND> controls_;
};

// From the reset values or from no file at all, Ctrl + click opens the configuration; every
// field is set by a drag (the surname before the file number, which decides a WinDev
// program's form), "VALIDER" writes what the stand-in's own table says, and a plain click then
// hands off the patient shown. The frame a drag draws on the practice window shows while the
// pointer is on it and is gone after the drop.
TEST_P(FinderE2e, ConfiguredByDragsThenHandsOffThePatientShown) {
  StartCase();
  StartLink();
  AnswerMissingFile();
  ASSERT_TRUE(testing::WaitUntil([&] { return GetForegroundWindow() == launcher_; }));
  ASSERT_TRUE(ClickAt(OnTooth(), 1, {"ctrl"}));
  AnswerMissingFile();
  HWND screen = VisibleScreen();
  ASSERT_NE(screen, nullptr);

  // The frame, on the practice window itself (under Wine a frame on another program's control
  // does not reach the screen): its left edge XORed with the pen colour, then gone.
  RECT frame{};
  GetWindowRect(practiceWindow_, &frame);
  RECT screenRect{};
  GetWindowRect(screen, &screenRect);
  // Below the caption, whose colour follows activation, which the drag moves between windows.
  const RECT strip{frame.left, frame.top + 30, frame.right, std::min(frame.bottom, screenRect.top)};
  ASSERT_GT(strip.bottom - strip.top, 10);
  const testing::Pixels before = testing::CaptureScreen(strip);
  ASSERT_TRUE(DragTo(screen, Field::Nom, {frame.right - 15, frame.bottom - 15}));
  const std::size_t onLeftEdge = static_cast<std::size_t>(5) * (strip.right - strip.left) + 1;
  EXPECT_EQ(testing::CaptureScreen(strip)[onLeftEdge], before[onLeftEdge] ^ 0x0064FFu)
      << "the frame shows during the drag";
  Screenshot(std::string("e2e-finder-drag-") + GetParam().name);
  ASSERT_TRUE(Release(screen));
  EXPECT_TRUE(testing::WaitUntil([&] { return testing::CaptureScreen(strip) == before; })) << "a frame was left drawn";

  // The surname (entry 9) before the file number (10), which decides a WinDev program's form.
  for (int entry : {9, 10, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14}) {
    SCOPED_TRACE(entry);
    ASSERT_TRUE(DragTo(screen, FieldOfEntry(entry), TargetOf(entry)));
    ASSERT_TRUE(Release(screen));
  }
  Sleep(700);  // the screen, just shown again, paints its controls before the picture
  Screenshot(std::string("e2e-finder-configured-") + GetParam().name);
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  ASSERT_TRUE(BackToLauncher(screen));

  // What the stand-in's own table says the harvest must find; Visiodent's title is matched
  // live, so its entry holds the title shown at the drop.
  const std::string tech = ReadBytes(kTech);
  EXPECT_EQ(ReadBytes(kTech2), tech);
  std::array<std::string, 17> expected = standin::TechLines(layout_);
  if (GetParam().mode == standin::Mode::Visiodent) {
    char title[256] = {};
    expected[16] = std::string(title, GetWindowTextA(practiceWindow_, title, 256)) + '\0';
  }
  EXPECT_EQ(tech, standin::TechFileBytes(expected));

  ASSERT_TRUE(testing::WaitUntil([&] { return GetForegroundWindow() == launcher_; }));
  ASSERT_TRUE(ClickAt(OnTooth()));
  ExpectDemoPatientHandedOff();
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
