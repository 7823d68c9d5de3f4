#pragma once
// A drawing surface that keeps what a real DC keeps (selected pen and brush, mix mode) and
// records each drawing with that state. Misuse a real system punishes (deleting an object
// still selected, releasing a DC not put back, using a freed handle) is collected in `faults`.
#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <utility>
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
    WindowHandle window{};  // a DC's window, selected objects and mix mode
    GdiHandle pen = 0, brush = 0;
    int mix = 0;
    bool freed = false;  // deleted, or for a DC released
  };
  struct Drawing {  // a Rectangle or FrameRgn call, its arguments after the DC, and the DC then
    std::string what;
    std::vector<std::int64_t> args;
    Object dc;
  };

  std::map<int, int> metrics;                      // GetSystemMetrics, 0 when absent
  std::map<int, std::uint32_t> sysColors;          // GetSysColor, 0 when absent
  std::unordered_set<WindowHandle> shapedWindows;  // windows that have a window region
  std::vector<Drawing> drawings;
  std::vector<std::string> faults;

  int LiveObjects() const {  // created objects and DCs not yet deleted or released
    int live = 0;
    for (const auto& [handle, object] : objects_) live += object.kind != Kind::Stock && !object.freed;
    return live;
  }
  const Object& ObjectOf(GdiHandle handle) const { return objects_.at(handle); }

  // A fresh DC holds the black stock pen (7), the white stock brush (0) and the copy mix mode (13).
  GdiHandle GetWindowDC(WindowHandle window) override {
    return Make({.kind = Kind::Dc, .window = window, .pen = GetStockObject(7), .brush = GetStockObject(0), .mix = 13});
  }
  void ReleaseDC(WindowHandle window, GdiHandle dc) override {
    Object* released = Live("ReleaseDC", dc, true);
    if (released && (released->window != window || released->pen != GetStockObject(7) ||
                     released->brush != GetStockObject(0) || released->mix != 13))
      faults.push_back("ReleaseDC: another window's DC, or its pen, brush or mix mode not put back");
    if (released) released->freed = true;
  }
  GdiHandle CreateRectRgn(int, int, int, int) override { return Make({.kind = Kind::Region}); }
  int GetWindowRgn(WindowHandle window, GdiHandle region) override {  // SIMPLEREGION or ERROR
    return Live("GetWindowRgn", region, false) && shapedWindows.contains(window) ? 2 : 0;
  }
  int GetSystemMetrics(int index) override { return metrics[index]; }
  std::uint32_t GetSysColor(int index) override { return sysColors[index]; }
  GdiHandle CreatePen(int style, int width, std::uint32_t color) override {
    return Make({.kind = Kind::Pen, .style = style, .width = width, .color = color});
  }
  GdiHandle CreateHatchBrush(int style, std::uint32_t color) override {
    return Make({.kind = Kind::HatchBrush, .style = style, .color = color});
  }
  GdiHandle GetStockObject(int index) override {  // stock objects 6 to 8 are pens, the others brushes
    return stock_.contains(index) ? stock_[index] : stock_[index] = Make({.kind = Kind::Stock, .style = index});
  }
  GdiHandle SelectObject(GdiHandle dc, GdiHandle object) override {
    Object *target = Live("SelectObject", dc, true), *selected = Live("SelectObject", object, false);
    if (!target || !selected || selected->kind == Kind::Region) return 0;
    const bool pen = selected->kind == Kind::Pen || (selected->kind == Kind::Stock && selected->style / 3 == 2);
    return std::exchange(pen ? target->pen : target->brush, object);
  }
  int SetROP2(GdiHandle dc, int mode) override {
    Object* target = Live("SetROP2", dc, true);
    return target ? std::exchange(target->mix, mode) : 0;
  }
  void Rectangle(GdiHandle dc, int left, int top, int right, int bottom) override {
    Draw(dc, "Rectangle", {left, top, right, bottom});
  }
  void FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) override {
    if (Live("FrameRgn", region, false) && Live("FrameRgn", brush, false))
      Draw(dc, "FrameRgn", {std::int64_t(region), std::int64_t(brush), width, height});
  }
  void DeleteObject(GdiHandle object) override {
    Object* deleted = Live("DeleteObject", object, false);
    if (deleted && deleted->kind == Kind::Stock) faults.push_back("DeleteObject: a stock object");
    for (const auto& [handle, dc] : objects_)
      if (deleted && dc.kind == Kind::Dc && !dc.freed && (dc.pen == object || dc.brush == object))
        faults.push_back("DeleteObject: object still selected into a DC");
    if (deleted) deleted->freed = true;
  }

 private:
  GdiHandle Make(Object object) {
    objects_[next_] = object;
    return next_++;
  }
  // The living object behind `handle`, a DC or not as `dc` says; else a fault of `call`.
  Object* Live(const char* call, GdiHandle handle, bool dc) {
    const auto found = objects_.find(handle);
    if (found != objects_.end() && !found->second.freed && dc == (found->second.kind == Kind::Dc))
      return &found->second;
    faults.push_back(std::string(call) + ": unknown or freed handle, or not the kind expected");
    return nullptr;
  }
  void Draw(GdiHandle dc, const char* what, std::vector<std::int64_t> args) {
    if (const Object* target = Live(what, dc, true)) drawings.push_back({what, std::move(args), *target});
  }

  std::map<GdiHandle, Object> objects_;
  std::map<int, GdiHandle> stock_;
  GdiHandle next_ = 0x100;
};

}  // namespace corvane::fakes
