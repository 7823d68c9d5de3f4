// The finder drag end to end: each stand-in practice program configured entirely by real
// drags from the finder boxes, then a plain click hands off its patient; and the frame the drag
// draws on a practice window is gone after the drop.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "settings/link_settings.h"
#include "settings/screen/screen_presenter.h"
#include "tests/e2e/e2e_support.h"

namespace corvane::e2e {
namespace {

using screen_id::FinderBox;

struct FinderCase {
  standin::Mode mode;
  bool fromNothing;  // no settings files at all, else the reset values
  const char* name;
};

// The screen's pixels inside `rect` (screen coordinates), 0x00RRGGBB each.
std::vector<std::uint32_t> Pixels(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(width) * height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (auto& pixel : pixels) pixel &= 0xFFFFFF;
  return pixels;
}

// An ASCII text of ours as bytes.
std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

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
    if (GetParam().fromNothing) {
      DeleteFileW(kTech);
      DeleteFileW(kTech2);
    } else {
      LinkSettings reset;
      ApplyResetValues(reset);
      std::array<std::string, 17> lines;
      for (int n = 1; n <= kEntryCount; ++n) lines[n - 1] = Narrow(reset.Entry(n));
      testing::WriteBytes(kTech, standin::TechFileBytes(lines));
      testing::WriteBytes(kTech2, standin::TechFileBytes(lines));
    }
  }

  // Answers the report of the missing settings file, when the case starts from nothing.
  void AnswerMissingFile() {
    if (!GetParam().fromNothing) return;
    HWND box = MessageBoxOfLink();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(testing::MessageBoxText(box).find(L"Tech.txt"), std::wstring::npos);
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
  EXPECT_EQ(ItemText(screen, screen_id::kDemarrerSidexis), kValidateCaption);

  // The frame, on the practice window itself (under Wine a frame on another program's control
  // does not reach the screen): its left edge XORed with the pen colour, then gone.
  RECT frame{};
  GetWindowRect(practiceWindow_, &frame);
  RECT screenRect{};
  GetWindowRect(screen, &screenRect);
  const RECT strip{frame.left, frame.top, frame.right, std::min(frame.bottom, screenRect.top)};
  ASSERT_GT(strip.bottom - strip.top, 40);
  const std::vector<std::uint32_t> before = Pixels(strip);
  ASSERT_TRUE(DragTo(screen, Field::Nom, {frame.right - 15, frame.bottom - 15}));
  const std::size_t onLeftEdge = static_cast<std::size_t>(35) * (strip.right - strip.left) + 1;
  EXPECT_EQ(Pixels(strip)[onLeftEdge], before[onLeftEdge] ^ 0x0064FFu) << "the frame shows during the drag";
  Screenshot(std::string("e2e-finder-drag-") + GetParam().name);
  ASSERT_TRUE(Release(screen));
  EXPECT_TRUE(testing::WaitUntil([&] { return Pixels(strip) == before; })) << "a frame was left drawn";

  std::vector<Field> order = {Field::Nom, Field::NumDossier};
  for (int entry = 1; entry <= kFieldCount; ++entry) {
    if (FieldOfEntry(entry) != Field::Nom && FieldOfEntry(entry) != Field::NumDossier)
      order.push_back(FieldOfEntry(entry));
  }
  for (Field field : order) {
    SCOPED_TRACE(Narrow(std::wstring(RowOf(FinderBox(field))->name)));
    ASSERT_TRUE(DragTo(screen, field, TargetOf(EntryOf(field))));
    ASSERT_TRUE(Release(screen));
  }
  Screenshot(std::string("e2e-finder-configured-") + GetParam().name);
  ASSERT_TRUE(Press(screen, screen_id::kDemarrerSidexis));
  ASSERT_TRUE(BackToLauncher(screen));

  // What the stand-in's own table says the harvest must find; the Visiodent title is matched
  // live, so its entry holds the title as it was at the drop.
  const std::string tech = ReadBytes(kTech);
  EXPECT_EQ(ReadBytes(kTech2), tech);
  std::array<std::string, 17> expected = standin::TechLines(layout_);
  if (GetParam().mode == standin::Mode::Visiodent) {
    const std::size_t start = tech.rfind("\r\n", tech.size() - 3) + 2;
    EXPECT_EQ(tech.compare(start, layout_.title.size(), layout_.title), 0) << tech.substr(start);
    expected[16] = tech.substr(start, tech.size() - 2 - start);
  }
  EXPECT_EQ(tech, standin::TechFileBytes(expected));

  ASSERT_TRUE(testing::WaitUntil([&] { return GetForegroundWindow() == launcher_; }));
  ASSERT_TRUE(ClickAt(OnTooth()));
  ASSERT_TRUE(WaitForStarts(1)) << "the X-ray program was not started";
  const std::string handOff = ReadBytes(kSiomin);
  EXPECT_NE(handOff.find("LEF\xC8VRE"), std::string::npos);
  EXPECT_NE(handOff.find("HELENE_1207"), std::string::npos);
  EXPECT_NE(handOff.find("285037512345678"), std::string::npos);
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
