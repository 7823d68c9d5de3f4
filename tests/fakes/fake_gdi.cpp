#include "tests/fakes/fake_gdi.h"

#include <stdexcept>
#include <utility>

namespace corvane::fakes {
namespace {

constexpr int kWhiteBrush = 0, kBlackPen = 7;
bool IsStockBrush(int index) {
  return index >= 0 && index <= 5;
}
bool IsStockPen(int index) {
  return index >= 6 && index <= 8;
}
std::int64_t Number(GdiHandle h) {
  return static_cast<std::int64_t>(h);
}
std::int64_t Number(WindowHandle h) {
  return static_cast<std::int64_t>(h.value);
}

}  // namespace

FakeGdi::FakeGdi() {
  metrics = {{gdi::kSmCxScreen, 1280}, {gdi::kSmCyScreen, 1024}, {gdi::kSmCxBorder, 1},
             {gdi::kSmCyBorder, 1},    {gdi::kSmCxFrame, 4},     {gdi::kSmCyFrame, 4}};
  sysColors = {{gdi::kColorWindowFrame, 0x000000}};
  defaultPen_ = Make(Kind::StockObject, kBlackPen);
  stock_[kBlackPen] = defaultPen_;
  defaultBrush_ = Make(Kind::StockObject, kWhiteBrush);
  stock_[kWhiteBrush] = defaultBrush_;
}

void FakeGdi::Record(const std::string& name, std::vector<std::int64_t> args, std::int64_t result) {
  calls.push_back({name, std::move(args), result});
  if (name == throwOn) throw std::runtime_error("FakeGdi: " + name + " fails");
}

GdiHandle FakeGdi::Make(Kind kind, int style, int width, std::uint32_t color, WindowHandle window) {
  const GdiHandle handle = next_++;
  Object& object = objects_[handle];
  object.kind = kind;
  object.style = style;
  object.width = width;
  object.color = color;
  object.window = window;
  return handle;
}

bool FakeGdi::Usable(GdiHandle handle, const std::string& call) {
  auto found = objects_.find(handle);
  if (found == objects_.end()) {
    faults.push_back(call + ": unknown handle " + std::to_string(handle));
    return false;
  }
  if (found->second.freed) {
    faults.push_back(call + ": handle " + std::to_string(handle) + " already freed");
    return false;
  }
  return true;
}

FakeGdi::DcState* FakeGdi::LiveDc(GdiHandle dc, const std::string& call) {
  if (!Usable(dc, call)) return nullptr;
  if (objects_[dc].kind != Kind::Dc) {
    faults.push_back(call + ": handle " + std::to_string(dc) + " is not a DC");
    return nullptr;
  }
  return &dcStates_[dc];
}

int FakeGdi::LiveObjects() const {
  int live = 0;
  for (const auto& [handle, object] : objects_) {
    if (object.kind != Kind::StockObject && !object.freed) ++live;
  }
  return live;
}

std::vector<std::string> FakeGdi::CallNames() const {
  std::vector<std::string> names;
  for (const Call& call : calls) names.push_back(call.name);
  return names;
}

GdiHandle FakeGdi::GetWindowDC(WindowHandle window) {
  const GdiHandle handle = Make(Kind::Dc, 0, 0, 0, window);
  dcStates_[handle] = {defaultPen_, defaultBrush_, kCopyPen};
  Record("GetWindowDC", {Number(window)}, Number(handle));
  return handle;
}

void FakeGdi::ReleaseDC(WindowHandle window, GdiHandle dc) {
  Record("ReleaseDC", {Number(window), Number(dc)});
  const DcState* state = LiveDc(dc, "ReleaseDC");
  if (state == nullptr) return;
  if (objects_[dc].window != window) faults.push_back("ReleaseDC: DC released for another window");
  if (state->pen != defaultPen_ || state->brush != defaultBrush_ || state->mix != kCopyPen) {
    faults.push_back("ReleaseDC: the DC's pen, brush or mix mode was not put back");
  }
  objects_[dc].freed = true;
}

GdiHandle FakeGdi::CreateRectRgn(int left, int top, int right, int bottom) {
  const GdiHandle handle = Make(Kind::Region);
  Record("CreateRectRgn", {left, top, right, bottom}, Number(handle));
  return handle;
}

int FakeGdi::GetWindowRgn(WindowHandle window, GdiHandle region) {
  const int result = shapedWindows.contains(window) ? 2 : 0;  // SIMPLEREGION : ERROR
  Record("GetWindowRgn", {Number(window), Number(region)}, result);
  Usable(region, "GetWindowRgn");
  return result;
}

int FakeGdi::GetSystemMetrics(int index) {
  const int value = metrics.contains(index) ? metrics.at(index) : 0;
  Record("GetSystemMetrics", {index}, value);
  return value;
}

std::uint32_t FakeGdi::GetSysColor(int index) {
  const std::uint32_t value = sysColors.contains(index) ? sysColors.at(index) : 0;
  Record("GetSysColor", {index}, value);
  return value;
}

GdiHandle FakeGdi::CreatePen(int style, int width, std::uint32_t color) {
  const GdiHandle handle = Make(Kind::Pen, style, width, color);
  Record("CreatePen", {style, width, color}, Number(handle));
  return handle;
}

GdiHandle FakeGdi::CreateHatchBrush(int style, std::uint32_t color) {
  const GdiHandle handle = Make(Kind::HatchBrush, style, 0, color);
  Record("CreateHatchBrush", {style, color}, Number(handle));
  return handle;
}

GdiHandle FakeGdi::GetStockObject(int index) {
  if (!stock_.contains(index)) stock_[index] = Make(Kind::StockObject, index);
  Record("GetStockObject", {index}, Number(stock_[index]));
  return stock_[index];
}

GdiHandle FakeGdi::SelectObject(GdiHandle dc, GdiHandle object) {
  Record("SelectObject", {Number(dc), Number(object)});
  DcState* state = LiveDc(dc, "SelectObject");
  if (state == nullptr || !Usable(object, "SelectObject")) return 0;
  const Object& selected = objects_[object];
  GdiHandle previous = 0;
  if (selected.kind == Kind::Pen || (selected.kind == Kind::StockObject && IsStockPen(selected.style))) {
    previous = std::exchange(state->pen, object);
  } else if (selected.kind == Kind::HatchBrush ||
             (selected.kind == Kind::StockObject && IsStockBrush(selected.style))) {
    previous = std::exchange(state->brush, object);
  } else {
    faults.push_back("SelectObject: neither a pen nor a brush");
  }
  calls.back().result = Number(previous);
  return previous;
}

int FakeGdi::SetROP2(GdiHandle dc, int mode) {
  Record("SetROP2", {Number(dc), mode});
  DcState* state = LiveDc(dc, "SetROP2");
  if (state == nullptr) return 0;
  const int previous = std::exchange(state->mix, mode);
  calls.back().result = previous;
  return previous;
}

void FakeGdi::Rectangle(GdiHandle dc, int left, int top, int right, int bottom) {
  Record("Rectangle", {Number(dc), left, top, right, bottom});
  const DcState* state = LiveDc(dc, "Rectangle");
  if (state == nullptr) return;
  Drawing drawing;
  drawing.what = "Rectangle";
  drawing.window = objects_[dc].window;
  drawing.rect = {left, top, right, bottom};
  drawing.pen = state->pen;
  drawing.brush = state->brush;
  drawing.mix = state->mix;
  drawings.push_back(drawing);
}

void FakeGdi::FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) {
  Record("FrameRgn", {Number(dc), Number(region), Number(brush), width, height});
  const DcState* state = LiveDc(dc, "FrameRgn");
  if (state == nullptr || !Usable(region, "FrameRgn") || !Usable(brush, "FrameRgn")) return;
  Drawing drawing;
  drawing.what = "FrameRgn";
  drawing.window = objects_[dc].window;
  drawing.region = region;
  drawing.frameBrush = brush;
  drawing.width = width;
  drawing.height = height;
  drawing.pen = state->pen;
  drawing.brush = state->brush;
  drawing.mix = state->mix;
  drawings.push_back(drawing);
}

void FakeGdi::DeleteObject(GdiHandle object) {
  Record("DeleteObject", {Number(object)});
  if (!Usable(object, "DeleteObject")) return;
  Object& deleted = objects_[object];
  if (deleted.kind == Kind::Dc || deleted.kind == Kind::StockObject) {
    faults.push_back("DeleteObject: a DC or a stock object");
    return;
  }
  for (const auto& [dc, state] : dcStates_) {
    if (!objects_[dc].freed && (state.pen == object || state.brush == object)) {
      faults.push_back("DeleteObject: object still selected into a DC");
    }
  }
  deleted.freed = true;
}

}  // namespace corvane::fakes
