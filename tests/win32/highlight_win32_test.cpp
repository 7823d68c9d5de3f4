// The highlight frame on real windows of another process, seen on the screen: the first call
// changes the pixels along the window's edge, the second puts every pixel back; a shaped
// window and a maximised one take their own branches.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "finder/highlight.h"
#include "platform/win32/win32_gdi.h"
#include "platform/win32/win32_window_query.h"
#include "tests/support/wine_support.h"

namespace corvane {
namespace {

using corvane::testing::ChildProcess;
using corvane::testing::StandinPath;
using corvane::testing::WaitForTopLevel;
using corvane::testing::WaitUntil;

// Win32Gdi with a record of the drawing calls that reached it and their arguments.
class RecordingGdi : public Gdi {
 public:
  struct Call {
    std::string name;
    std::vector<long long> args;
  };
  std::vector<Call> calls;

  int Count(const std::string& name) const {
    int n = 0;
    for (const Call& call : calls) n += call.name == name;
    return n;
  }
  const Call* Find(const std::string& name) const {
    for (const Call& call : calls) {
      if (call.name == name) return &call;
    }
    return nullptr;
  }

  GdiHandle GetWindowDC(WindowHandle window) override { return inner_.GetWindowDC(window); }
  void ReleaseDC(WindowHandle window, GdiHandle dc) override { inner_.ReleaseDC(window, dc); }
  GdiHandle CreateRectRgn(int left, int top, int right, int bottom) override {
    return inner_.CreateRectRgn(left, top, right, bottom);
  }
  int GetWindowRgn(WindowHandle window, GdiHandle region) override {
    const int result = inner_.GetWindowRgn(window, region);
    calls.push_back({"GetWindowRgn", {result}});
    return result;
  }
  int GetSystemMetrics(int index) override { return inner_.GetSystemMetrics(index); }
  std::uint32_t GetSysColor(int index) override { return inner_.GetSysColor(index); }
  GdiHandle CreatePen(int style, int width, std::uint32_t color) override {
    calls.push_back({"CreatePen", {style, width, color}});
    return inner_.CreatePen(style, width, color);
  }
  GdiHandle CreateHatchBrush(int style, std::uint32_t color) override {
    calls.push_back({"CreateHatchBrush", {style, color}});
    return inner_.CreateHatchBrush(style, color);
  }
  GdiHandle GetStockObject(int index) override { return inner_.GetStockObject(index); }
  GdiHandle SelectObject(GdiHandle dc, GdiHandle object) override { return inner_.SelectObject(dc, object); }
  int SetROP2(GdiHandle dc, int mode) override { return inner_.SetROP2(dc, mode); }
  void Rectangle(GdiHandle dc, int left, int top, int right, int bottom) override {
    calls.push_back({"Rectangle", {left, top, right, bottom}});
    inner_.Rectangle(dc, left, top, right, bottom);
  }
  void FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) override {
    calls.push_back({"FrameRgn", {width, height}});
    inner_.FrameRgn(dc, region, brush, width, height);
  }
  void DeleteObject(GdiHandle object) override {
    calls.push_back({"DeleteObject", {}});
    inner_.DeleteObject(object);
  }

 private:
  Win32Gdi inner_;
};

// The screen's pixels in `area`, as 0x00RRGGBB, row by row.
std::vector<std::uint32_t> CaptureScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const std::uint32_t*>(bits);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = source[i] & 0x00FFFFFFu;
  SelectObject(memory, previous);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::size_t Differences(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

class HighlightWin32Test : public ::testing::Test {
 protected:
  void TearDown() override { program_.Kill(); }

  // A practice program of our own in another process; its main window once it is whole.
  HWND Start(const std::wstring& options) {
    if (!program_.Start(StandinPath(L"bench_practice"), L"plain 20 " + options)) return nullptr;
    const std::wstring title = L"Banc d'essai plain 20";
    HWND main = WaitForTopLevel(L"CorvaneBenchPractice", program_.Id(), &title);
    // Let it paint before anything is captured: it answers only once it has pumped.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    return main;
  }

  // Draws the frame, waits until the screen shows it, and returns what the screen showed
  // before and with the frame.
  void Toggle(HWND window, const RECT& area, std::vector<std::uint32_t>& before, std::vector<std::uint32_t>& framed) {
    before = Steady(area);
    HighlightWindow(HandleOf(window), 3, windows_, gdi_);
    WaitUntil([&] { return Differences(CaptureScreen(area), before) > 0; }, std::chrono::seconds(5));
    framed = Steady(area);  // the whole frame, not the first part of it to reach the screen
  }

  // The same screen twice in a row: nothing is still being painted.
  static std::vector<std::uint32_t> Steady(const RECT& area) {
    std::vector<std::uint32_t> last = CaptureScreen(area);
    WaitUntil([&] {
      std::vector<std::uint32_t> now = CaptureScreen(area);
      const bool same = now == last;
      last = std::move(now);
      return same;
    });
    return last;
  }

  // Removes the frame and expects every pixel back.
  void ExpectRemoved(HWND window, const RECT& area, const std::vector<std::uint32_t>& before) {
    HighlightWindow(HandleOf(window), 3, windows_, gdi_);
    WaitUntil([&] { return CaptureScreen(area) == before; }, std::chrono::seconds(5));
    EXPECT_EQ(Differences(CaptureScreen(area), before), 0u);
  }

  // The frame of an ordinary window: every pixel within the frame's thickness of the edge is
  // XORed with the frame colour (so changed) but in the corners, which a wide pen's round join
  // may leave out; nothing inside is touched (no fill); and the
  // call drew the window's own rectangle in window coordinates.
  void ExpectFrameInsideEdges(const RECT& area, const std::vector<std::uint32_t>& before,
                              const std::vector<std::uint32_t>& framed) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int thickness = 3 * GetSystemMetrics(SM_CXBORDER);
    std::size_t ringUnchanged = 0, insideChanged = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::size_t i =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
        const int edge = std::min(std::min(x, y), std::min(width - 1 - x, height - 1 - y));
        const bool changed = framed[i] != before[i];
        const bool corner = (x < thickness || x >= width - thickness) && (y < thickness || y >= height - thickness);
        if (edge < thickness && !corner && !changed) ++ringUnchanged;
        if (edge >= thickness && changed) ++insideChanged;
      }
    }
    EXPECT_EQ(ringUnchanged, 0u);
    EXPECT_EQ(insideChanged, 0u);
    ASSERT_NE(gdi_.Find("Rectangle"), nullptr);
    EXPECT_EQ(gdi_.Find("Rectangle")->args, (std::vector<long long>{0, 0, width, height}));
  }

  ChildProcess program_;
  Win32WindowQuery windows_;
  RecordingGdi gdi_;
};

TEST_F(HighlightWin32Test, AWindowOfAnotherProgramGetsAFrameJustInsideItsEdges) {
  HWND main = Start(L"");
  ASSERT_NE(main, nullptr);
  RECT area{};
  GetWindowRect(main, &area);

  std::vector<std::uint32_t> before, framed;
  Toggle(main, area, before, framed);

  ExpectFrameInsideEdges(area, before, framed);
  ExpectRemoved(main, area, before);
  EXPECT_EQ(gdi_.Count("FrameRgn"), 0);
  EXPECT_EQ(gdi_.Count("CreateHatchBrush"), 0);
}

// A control, owned by another thread of this process. (Under Wine, drawing on a child
// window of another process lands nowhere on the screen, so the control's own frame cannot
// be seen there; the link's calls are the same either way.)
TEST_F(HighlightWin32Test, AControlGetsAFrameJustInsideItsEdges) {
  HWND top = nullptr;
  HWND control = nullptr;
  DWORD ownerId = 0;
  std::atomic<bool> ready{false};
  std::thread owner([&] {
    ownerId = GetCurrentThreadId();
    top = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 600, 300, 200, nullptr, nullptr,
                          nullptr, nullptr);
    control =
        CreateWindowExA(0, "Static", "Dupont", WS_CHILD | WS_VISIBLE, 20, 20, 120, 60, top, nullptr, nullptr, nullptr);
    SetTimer(top, 1, 50, nullptr);  // wakes the thread now and then, so what is drawn reaches the screen
    ready = true;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    DestroyWindow(top);
  });
  WaitUntil([&] { return ready.load(); });
  ASSERT_NE(control, nullptr);
  RECT area{};
  GetWindowRect(control, &area);

  std::vector<std::uint32_t> before, framed;
  Toggle(control, area, before, framed);

  ExpectFrameInsideEdges(area, before, framed);
  ExpectRemoved(control, area, before);
  PostThreadMessageA(ownerId, WM_QUIT, 0, 0);
  owner.join();
}

TEST_F(HighlightWin32Test, AShapedWindowHasItsRegionFramed) {
  HWND main = Start(L"--region");
  ASSERT_NE(main, nullptr);
  RECT area{};
  GetWindowRect(main, &area);

  std::vector<std::uint32_t> before, framed;
  Toggle(main, area, before, framed);

  EXPECT_GT(Differences(framed, before), 0u);
  const RecordingGdi::Call* frame = gdi_.Find("FrameRgn");
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->args,
            (std::vector<long long>{3 * GetSystemMetrics(SM_CXBORDER), 3 * GetSystemMetrics(SM_CYBORDER)}));
  ASSERT_NE(gdi_.Find("CreateHatchBrush"), nullptr);
  EXPECT_EQ(gdi_.Find("CreateHatchBrush")->args,
            (std::vector<long long>{HS_DIAGCROSS, static_cast<long long>(GetSysColor(COLOR_WINDOWFRAME))}));
  EXPECT_EQ(gdi_.Count("Rectangle"), 0);
  // Pen, hatch brush and region: all three go.
  EXPECT_EQ(gdi_.Count("DeleteObject"), 3);

  ExpectRemoved(main, area, before);
}

TEST_F(HighlightWin32Test, AMaximisedWindowIsFramedAlongTheScreen) {
  HWND main = Start(L"--maximise");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(main) != FALSE; }));
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

  std::vector<std::uint32_t> before, framed;
  Toggle(main, screen, before, framed);

  EXPECT_GT(Differences(framed, before), 0u);
  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
  ASSERT_NE(gdi_.Find("Rectangle"), nullptr);
  EXPECT_EQ(gdi_.Find("Rectangle")->args,
            (std::vector<long long>{fx, fy, GetSystemMetrics(SM_CXSCREEN) + fx, GetSystemMetrics(SM_CYSCREEN) + fy}));

  ExpectRemoved(main, screen, before);
}

}  // namespace
}  // namespace corvane
