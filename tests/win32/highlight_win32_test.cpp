// The highlight frame on the window of another process, seen on the screen: the first call
// changes the pixels along the window's edge, the second puts every pixel back; a shaped
// window and a maximised one take their own branches.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "finder/highlight.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using namespace corvane::testing;
using Drawn = std::pair<std::string, std::vector<long long>>;  // a drawing call, its arguments after the DC

// Win32Gdi that also notes its drawing calls.
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
  std::vector<DPI_AWARENESS> awareness;  // the thread's, at each Rectangle
};

class HighlightWin32Test : public ::testing::Test {
 protected:
  // A practice program of our own in another process: its main window, once it has painted.
  bool Start(const std::wstring& options) {
    const std::wstring title = L"Banc d'essai plain 20";
    if (!program_.Start(StandinPath(L"practice_standin"), L"plain --bench=20 " + options)) return false;
    main_ = WaitForTopLevel(L"CorvaneBenchPractice", program_.Id(), &title);
    DWORD_PTR ignored = 0;  // it answers only once it has pumped, so painted
    SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    return GetWindowRect(main_, &area_) != FALSE;
  }

  // The same screen twice in a row: nothing is still being painted.
  static Pixels Steady(const RECT& area) {
    Pixels last = CaptureScreen(area);
    WaitUntil([&] { return std::exchange(last, CaptureScreen(area)) == last; });  // the earlier against the new
    return last;
  }

  // Frames the window and returns the screen before and with the frame (some pixels changed);
  // then frames it again and expects every pixel back.
  std::pair<Pixels, Pixels> ToggleTwice(HWND window, const RECT& area) {
    const Pixels before = Steady(area);
    HighlightWindow(HandleOf(window), 3, windows_, gdi_);
    WaitUntil([&] { return CaptureScreen(area) != before; }, std::chrono::seconds(5));
    const Pixels framed = Steady(area);  // the whole frame, not the first part of it on screen
    EXPECT_TRUE(framed != before) << "the first call must change the screen";
    HighlightWindow(HandleOf(window), 3, windows_, gdi_);
    WaitUntil([&] { return CaptureScreen(area) == before; }, std::chrono::seconds(5));
    EXPECT_TRUE(CaptureScreen(area) == before) << "the second call must put every pixel back";
    return {before, framed};
  }

  ChildProcess program_;
  HWND main_ = nullptr;
  RECT area_{};  // the main window's, on the screen
  Win32WindowQuery windows_;
  RecordingGdi gdi_;
};

TEST_F(HighlightWin32Test, AWindowGetsAFrameJustInsideItsEdges) {
  ASSERT_TRUE(Start(L""));

  const auto [before, framed] = ToggleTwice(main_, area_);

  // Every pixel within the frame's thickness of the edge is XORed (so changed) but in the
  // corners, which a wide pen's round join may leave out; nothing inside is touched (no fill).
  const int width = area_.right - area_.left, height = area_.bottom - area_.top;
  const int thickness = 3 * GetSystemMetrics(SM_CXBORDER);
  int ringUnchanged = 0, insideChanged = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto i = static_cast<std::size_t>(y * width + x);
      const bool changed = framed[i] != before[i];
      const int edge = std::min({x, y, width - 1 - x, height - 1 - y});
      const bool corner = std::min(x, width - 1 - x) < thickness && std::min(y, height - 1 - y) < thickness;
      ringUnchanged += edge < thickness && !corner && !changed;
      insideChanged += edge >= thickness && changed;
    }
  }
  EXPECT_EQ(ringUnchanged, 0);
  EXPECT_EQ(insideChanged, 0);
  EXPECT_EQ(gdi_.drawn, std::vector(2, Drawn{"Rectangle", {0, 0, width, height}}));  // in window coordinates
}

// The link is per-monitor aware; a practice program that is not DPI aware has a window DC in
// its own, scaled coordinates: the frame is drawn in the window's awareness, and the thread's
// own comes back after. (Under Wine another process's window reports itself aware whatever
// its program, so the unaware window is made here.)
TEST_F(HighlightWin32Test, TheFrameIsDrawnInTheTargetWindowsDpiAwareness) {
  const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
  HWND unaware =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr, nullptr, nullptr);
  SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
  HighlightWindow(HandleOf(unaware), 3, windows_, gdi_);
  HighlightWindow(HandleOf(unaware), 3, windows_, gdi_);
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
  SetThreadDpiAwarenessContext(previous);
  DestroyWindow(unaware);
  EXPECT_EQ(gdi_.awareness, std::vector(2, DPI_AWARENESS_UNAWARE));
}

TEST_F(HighlightWin32Test, AShapedWindowHasItsRegionFramed) {
  ASSERT_TRUE(Start(L"--region"));

  ToggleTwice(main_, area_);

  const Drawn frame{"FrameRgn", {3 * GetSystemMetrics(SM_CXBORDER), 3 * GetSystemMetrics(SM_CYBORDER)}};
  EXPECT_EQ(gdi_.drawn, std::vector(2, frame));
}

TEST_F(HighlightWin32Test, AMaximisedWindowIsFramedAlongTheScreen) {
  ASSERT_TRUE(Start(L"--maximise"));
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(main_) != FALSE; }));
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);

  ToggleTwice(main_, RECT{0, 0, cx, cy});

  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
  EXPECT_EQ(gdi_.drawn, std::vector(2, Drawn{"Rectangle", {fx, fy, cx + fx, cy + fy}}));
}

}  // namespace
}  // namespace corvane
