#pragma once
// A drawing surface that records every call, hands out handles, and keeps what a real DC
// keeps (selected pen and brush, mix mode), so that a test can tell what was drawn with what
// and whether everything was put back and freed. Misuse a real system would punish (deleting
// an object still selected, releasing a DC twice, using a freed object) is collected in
// `faults`.
#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/gdi.h"

namespace corvane::fakes {

class FakeGdi : public Gdi {
 public:
  enum class Kind { Dc, Region, Pen, HatchBrush, StockObject };

  struct Call {
    std::string name;
    std::vector<std::int64_t> args;  // handles and numbers, in the order of the call
    std::int64_t result = 0;
  };

  // Something drawn, with the DC's state at that moment.
  struct Drawing {
    std::string what;  // "Rectangle" or "FrameRgn"
    WindowHandle window;
    Rect rect;             // Rectangle: its corners
    GdiHandle region = 0;  // FrameRgn: the region and the brush given
    GdiHandle frameBrush = 0;
    int width = 0, height = 0;  // FrameRgn: the frame's size
    GdiHandle pen = 0;          // the DC's selected pen and brush, and its mix mode
    GdiHandle brush = 0;
    int mix = 0;
  };

  struct Object {
    Kind kind = Kind::Pen;
    int style = 0;
    int width = 0;
    std::uint32_t color = 0;
    WindowHandle window;  // a DC's window
    bool freed = false;   // deleted (or, for a DC, released)
  };

  struct DcState {
    GdiHandle pen = 0;
    GdiHandle brush = 0;
    int mix = 0;
  };

  FakeGdi();

  // Set by the test.
  std::map<int, int> metrics;                      // GetSystemMetrics
  std::map<int, std::uint32_t> sysColors;          // GetSysColor
  std::unordered_set<WindowHandle> shapedWindows;  // windows that have a window region
  std::string throwOn;                             // a call of this name throws std::runtime_error

  // Recorded.
  std::vector<Call> calls;
  std::vector<Drawing> drawings;
  std::vector<std::string> faults;

  // Created objects and DCs not yet deleted or released.
  int LiveObjects() const;
  // The names of the calls, in order.
  std::vector<std::string> CallNames() const;
  const Object& ObjectOf(GdiHandle handle) const { return objects_.at(handle); }
  // A DC's selected objects and mix mode now.
  const DcState& StateOf(GdiHandle dc) const { return dcStates_.at(dc); }
  // What a fresh DC holds: a stock pen and brush, the copy mix mode.
  static constexpr int kCopyPen = 13;
  GdiHandle DefaultPen() const { return defaultPen_; }
  GdiHandle DefaultBrush() const { return defaultBrush_; }

  GdiHandle GetWindowDC(WindowHandle window) override;
  void ReleaseDC(WindowHandle window, GdiHandle dc) override;
  GdiHandle CreateRectRgn(int left, int top, int right, int bottom) override;
  int GetWindowRgn(WindowHandle window, GdiHandle region) override;
  int GetSystemMetrics(int index) override;
  std::uint32_t GetSysColor(int index) override;
  GdiHandle CreatePen(int style, int width, std::uint32_t color) override;
  GdiHandle CreateHatchBrush(int style, std::uint32_t color) override;
  GdiHandle GetStockObject(int index) override;
  GdiHandle SelectObject(GdiHandle dc, GdiHandle object) override;
  int SetROP2(GdiHandle dc, int mode) override;
  void Rectangle(GdiHandle dc, int left, int top, int right, int bottom) override;
  void FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) override;
  void DeleteObject(GdiHandle object) override;

 private:
  void Record(const std::string& name, std::vector<std::int64_t> args, std::int64_t result = 0);
  GdiHandle Make(Kind kind, int style = 0, int width = 0, std::uint32_t color = 0, WindowHandle window = {});
  bool Usable(GdiHandle handle, const std::string& call);
  DcState* LiveDc(GdiHandle dc, const std::string& call);

  std::map<GdiHandle, Object> objects_;
  std::map<GdiHandle, DcState> dcStates_;
  std::map<int, GdiHandle> stock_;
  GdiHandle next_ = 0x100;
  GdiHandle defaultPen_ = 0;
  GdiHandle defaultBrush_ = 0;
};

}  // namespace corvane::fakes
