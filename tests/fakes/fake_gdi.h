#pragma once
// A drawing surface that keeps what a real DC keeps (selected pen and brush, mix mode) and
// records each drawing with that state. Misuse a real system punishes (deleting an object
// still selected, releasing a DC not put back, using a freed handle) is collected in `faults`.
#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/gdi.h"

namespace corvane::fakes {

class FakeGdi : public Gdi {
 public:
  enum class Kind { Dc, Region, Pen, HatchBrush, Stock };
  struct Object {
    Kind kind = Kind::Pen;
    int style = 0, width = 0;
    std::uint32_t color = 0;
    WindowHandle window{};         // a DC's window,
    GdiHandle pen = 0, brush = 0;  // its selected objects
    int mix = 0;                   // and mix mode
    bool freed = false;            // deleted, or for a DC released
  };
  // A Rectangle or FrameRgn call, its arguments after the DC, and the DC's state then.
  struct Drawing {
    std::string what;
    std::vector<std::int64_t> args;
    WindowHandle window;
    GdiHandle pen = 0, brush = 0;
    int mix = 0;
  };

  FakeGdi();

  std::map<int, int> metrics;                      // GetSystemMetrics, 0 when absent
  std::map<int, std::uint32_t> sysColors;          // GetSysColor, 0 when absent
  std::unordered_set<WindowHandle> shapedWindows;  // windows that have a window region
  std::vector<Drawing> drawings;
  std::vector<std::string> faults;

  int LiveObjects() const;  // created objects and DCs not yet deleted or released
  const Object& ObjectOf(GdiHandle handle) const { return objects_.at(handle); }

  GdiHandle GetWindowDC(WindowHandle window) override;
  void ReleaseDC(WindowHandle window, GdiHandle dc) override;
  GdiHandle CreateRectRgn(int, int, int, int) override { return Make({.kind = Kind::Region}); }
  int GetWindowRgn(WindowHandle window, GdiHandle region) override;
  int GetSystemMetrics(int index) override { return metrics.contains(index) ? metrics[index] : 0; }
  std::uint32_t GetSysColor(int index) override { return sysColors.contains(index) ? sysColors[index] : 0; }
  GdiHandle CreatePen(int style, int width, std::uint32_t color) override;
  GdiHandle CreateHatchBrush(int style, std::uint32_t color) override;
  GdiHandle GetStockObject(int index) override;
  GdiHandle SelectObject(GdiHandle dc, GdiHandle object) override;
  int SetROP2(GdiHandle dc, int mode) override;
  void Rectangle(GdiHandle dc, int left, int top, int right, int bottom) override;
  void FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) override;
  void DeleteObject(GdiHandle object) override;

 private:
  GdiHandle Make(Object object);
  // The living object behind `handle`, a DC or not as `dc` says; else a fault of `call`.
  Object* Live(const char* call, GdiHandle handle, bool dc);
  void Draw(GdiHandle dc, std::string what, std::vector<std::int64_t> args);

  std::map<GdiHandle, Object> objects_;
  std::map<int, GdiHandle> stock_;
  GdiHandle next_ = 0x100;
};

}  // namespace corvane::fakes
