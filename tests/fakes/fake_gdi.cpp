#include "tests/fakes/fake_gdi.h"

#include <utility>

namespace corvane::fakes {
namespace {

// What a fresh DC holds: the black stock pen, the white stock brush, the copy mix mode. Stock
// objects 6 to 8 are pens, the others brushes.
constexpr int kWhiteBrush = 0, kBlackPen = 7, kCopyPen = 13;

}  // namespace

FakeGdi::FakeGdi() {
  GetStockObject(kBlackPen);
  GetStockObject(kWhiteBrush);
}

GdiHandle FakeGdi::Make(Object object) {
  objects_[next_] = object;
  return next_++;
}

FakeGdi::Object* FakeGdi::Live(const char* call, GdiHandle handle, bool dc) {
  const auto found = objects_.find(handle);
  if (found == objects_.end() || found->second.freed) {
    faults.push_back(std::string(call) + ": unknown or freed handle");
  } else if (dc != (found->second.kind == Kind::Dc)) {
    faults.push_back(std::string(call) + (dc ? ": not a DC" : ": a DC"));
  } else {
    return &found->second;
  }
  return nullptr;
}

int FakeGdi::LiveObjects() const {
  int live = 0;
  for (const auto& [handle, object] : objects_) live += object.kind != Kind::Stock && !object.freed;
  return live;
}

GdiHandle FakeGdi::GetWindowDC(WindowHandle window) {
  return Make(
      {.kind = Kind::Dc, .window = window, .pen = stock_[kBlackPen], .brush = stock_[kWhiteBrush], .mix = kCopyPen});
}

void FakeGdi::ReleaseDC(WindowHandle window, GdiHandle dc) {
  Object* released = Live("ReleaseDC", dc, true);
  if (released == nullptr) return;
  if (released->window != window) faults.push_back("ReleaseDC: DC released for another window");
  if (released->pen != stock_[kBlackPen] || released->brush != stock_[kWhiteBrush] || released->mix != kCopyPen)
    faults.push_back("ReleaseDC: the DC's pen, brush or mix mode was not put back");
  released->freed = true;
}

int FakeGdi::GetWindowRgn(WindowHandle window, GdiHandle region) {
  Live("GetWindowRgn", region, false);
  return shapedWindows.contains(window) ? 2 : 0;  // SIMPLEREGION : ERROR
}

GdiHandle FakeGdi::CreatePen(int style, int width, std::uint32_t color) {
  return Make({.kind = Kind::Pen, .style = style, .width = width, .color = color});
}

GdiHandle FakeGdi::CreateHatchBrush(int style, std::uint32_t color) {
  return Make({.kind = Kind::HatchBrush, .style = style, .color = color});
}

GdiHandle FakeGdi::GetStockObject(int index) {
  if (!stock_.contains(index)) stock_[index] = Make({.kind = Kind::Stock, .style = index});
  return stock_[index];
}

GdiHandle FakeGdi::SelectObject(GdiHandle dc, GdiHandle object) {
  Object* target = Live("SelectObject", dc, true);
  const Object* selected = Live("SelectObject", object, false);
  if (target == nullptr || selected == nullptr || selected->kind == Kind::Region) {
    faults.push_back("SelectObject: not a pen or a brush into a DC");
    return 0;
  }
  const bool pen = selected->kind == Kind::Pen || (selected->kind == Kind::Stock && selected->style >= 6 && selected->style <= 8);
  return std::exchange(pen ? target->pen : target->brush, object);
}

int FakeGdi::SetROP2(GdiHandle dc, int mode) {
  Object* target = Live("SetROP2", dc, true);
  return target == nullptr ? 0 : std::exchange(target->mix, mode);
}

void FakeGdi::Draw(GdiHandle dc, std::string what, std::vector<std::int64_t> args) {
  if (const Object* target = Live("drawing", dc, true))
    drawings.push_back({std::move(what), std::move(args), target->window, target->pen, target->brush, target->mix});
}

void FakeGdi::Rectangle(GdiHandle dc, int left, int top, int right, int bottom) {
  Draw(dc, "Rectangle", {left, top, right, bottom});
}

void FakeGdi::FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) {
  Live("FrameRgn", region, false);
  Live("FrameRgn", brush, false);
  Draw(dc, "FrameRgn", {static_cast<std::int64_t>(region), static_cast<std::int64_t>(brush), width, height});
}

void FakeGdi::DeleteObject(GdiHandle object) {
  Object* deleted = Live("DeleteObject", object, false);
  if (deleted == nullptr) return;
  if (deleted->kind == Kind::Stock) faults.push_back("DeleteObject: a stock object");
  for (const auto& [handle, dc] : objects_)
    if (dc.kind == Kind::Dc && !dc.freed && (dc.pen == object || dc.brush == object))
      faults.push_back("DeleteObject: object still selected into a DC");
  deleted->freed = true;
}

}  // namespace corvane::fakes
