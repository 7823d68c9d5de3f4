// The highlight frame on the window of another process, seen on the screen: the first call
// changes the pixels along the window's edge, the second puts every pixel back; a shaped window
// and a maximised one take their own branches; the frame is drawn in the window's DPI awareness.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "finder/highlight.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace corvane::testing;
using Drawn = std::pair<std::string, std::vector<long long>>;  // a drawing call, its arguments after the DC

// Win32Gdi that also notes its drawing calls, and the thread's DPI awareness at each rectangle.
class RecordingGdi : public Win32Gdi {
 public:
  void Rectangle(GdiHandle dc, int left, int top, int right, int bottom) override {
    drawn.push_back({"Rectangle", {left, top, right, bottom}});
    awareness.push_back(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()));
    Win32Gdi::Rectangle(dc, left, top, right, bottom);
  }
  void FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) override {
    drawn.push_back({"FrameRgn", {width, height}});
    Win32Gdi::FrameRgn(dc, region, brush, width, height);
  }
  std::vector<Drawn> drawn;
  std::vector<DPI_AWARENESS> awareness;
};

// The same screen twice in a row: nothing is still being painted.
Pixels Steady(const RECT& area) {
  Pixels last = CaptureScreen(area);
  WaitUntil([&] { return std::exchange(last, CaptureScreen(area)) == last; });
  return last;
}

class HighlightWin32Test : public ::testing::TestWithParam<const wchar_t*> {};

// A practice window of another process, as is, shaped or maximised: a frame just inside its
// edges (in window coordinates; a maximised one along the screen), its region framed when it has
// one; the second call puts every pixel back.
TEST_P(HighlightWin32Test, AFrameJustInsideTheEdgesThenEveryPixelBack) {
  Win32WindowQuery windows;
  RecordingGdi gdi;
  const std::wstring option = GetParam(), title = L"Banc d'essai plain 20";
  ChildProcess program(StandinPath(L"practice_standin"), L"plain --bench=20 " + option);
  HWND main = WaitForTopLevel(L"CorvaneBenchPractice", program.Id(), &title);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && (option != L"--maximise" || IsZoomed(main)); }));
  SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);  // answered once it has painted
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
  const int tx = 3 * GetSystemMetrics(SM_CXBORDER), ty = 3 * GetSystemMetrics(SM_CYBORDER);
  RECT area{};
  GetWindowRect(main, &area);
  if (option == L"--maximise") area = {0, 0, cx, cy};

  const Pixels before = Steady(area);
  HighlightWindow(HandleOf(main), 3, windows, gdi);
  WaitUntil([&] { return CaptureScreen(area) != before; }, std::chrono::seconds(5));
  const Pixels framed = Steady(area);  // the whole frame, not its first part on screen
  HighlightWindow(HandleOf(main), 3, windows, gdi);
  EXPECT_TRUE(WaitUntil([&] { return CaptureScreen(area) == before; }, std::chrono::seconds(5)))
      << "the second call must put every pixel back";

  const int width = area.right - area.left, height = area.bottom - area.top;
  const Drawn drawn = option == L"--region"     ? Drawn{"FrameRgn", {tx, ty}}
                      : option == L"--maximise" ? Drawn{"Rectangle", {fx, fy, cx + fx, cy + fy}}
                                                : Drawn{"Rectangle", {0, 0, width, height}};
  EXPECT_EQ(gdi.drawn, std::vector(2, drawn));
  // On the screen: the middle of each edge, at the frame's inner side, changed; inside it, nothing.
  EXPECT_TRUE(framed != before);
  const auto changed = [&](int x, int y) { return framed[y * width + x] != before[y * width + x]; };
  for (const auto& [x, y] :
       {std::pair{tx - 1, height / 2}, {width - tx, height / 2}, {width / 2, ty - 1}, {width / 2, height - ty}})
    EXPECT_TRUE(option == L"--region" || changed(x, y)) << x << "," << y;
  int insideChanged = 0;
  for (int y = ty + 1; y < height - ty - 1; ++y)
    for (int x = tx + 1; x < width - tx - 1; ++x) insideChanged += option != L"--region" && changed(x, y);
  EXPECT_EQ(insideChanged, 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, HighlightWin32Test, ::testing::Values(L"", L"--region", L"--maximise"),
                         [](const auto& info) {
                           return std::string(info.index ? info.index == 1 ? "Shaped" : "Maximised" : "AsIs");
                         });

// The link is per-monitor aware; a practice program that is not DPI aware has a window DC in its
// own, scaled coordinates: the frame is drawn in the window's awareness, the thread's own comes
// back after. (Under Wine another process's window reports itself aware whatever its program,
// so the unaware window is made here.)
TEST(HighlightDpiWin32Test, TheFrameIsDrawnInTheTargetWindowsDpiAwareness) {
  Win32WindowQuery windows;
  RecordingGdi gdi;
  const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
  HWND unaware =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr, nullptr, nullptr);
  SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
  HighlightWindow(HandleOf(unaware), 3, windows, gdi);
  HighlightWindow(HandleOf(unaware), 3, windows, gdi);
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
  SetThreadDpiAwarenessContext(previous);
  DestroyWindow(unaware);
  EXPECT_EQ(gdi.awareness, std::vector(2, DPI_AWARENESS_UNAWARE));
}

}  // namespace
}  // namespace corvane
