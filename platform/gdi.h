#pragma once
// The drawing calls the highlight frame makes on another program's window, one for one with
// the GDI calls of the same names. Handles are opaque numbers; 0 means none.
#include <cstdint>

#include "platform/types.h"

namespace corvane {

using GdiHandle = std::uintptr_t;

namespace gdi {
inline constexpr int kSmCxScreen = 0, kSmCyScreen = 1, kSmCxBorder = 5, kSmCyBorder = 6, kSmCxFrame = 32,
                     kSmCyFrame = 33;
inline constexpr int kPsInsideFrame = 6, kNullBrush = 5, kR2XorPen = 7, kHsDiagCross = 5, kColorWindowFrame = 6;
// COLORREF layout: 0x00BBGGRR.
constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}
}  // namespace gdi

class Gdi {
 public:
  virtual ~Gdi() = default;
  virtual GdiHandle GetWindowDC(WindowHandle window) = 0;
  virtual void ReleaseDC(WindowHandle window, GdiHandle dc) = 0;
  virtual GdiHandle CreateRectRgn(int left, int top, int right, int bottom) = 0;
  virtual int GetWindowRgn(WindowHandle window, GdiHandle region) = 0;  // 0: the window has none
  virtual int GetSystemMetrics(int index) = 0;
  virtual std::uint32_t GetSysColor(int index) = 0;
  virtual GdiHandle CreatePen(int style, int width, std::uint32_t color) = 0;
  virtual GdiHandle CreateHatchBrush(int style, std::uint32_t color) = 0;
  virtual GdiHandle GetStockObject(int index) = 0;
  virtual GdiHandle SelectObject(GdiHandle dc, GdiHandle object) = 0;  // returns the previous one
  virtual int SetROP2(GdiHandle dc, int mode) = 0;                    // returns the previous mode
  virtual void Rectangle(GdiHandle dc, int left, int top, int right, int bottom) = 0;
  virtual void FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) = 0;
  virtual void DeleteObject(GdiHandle object) = 0;
};

}  // namespace corvane
