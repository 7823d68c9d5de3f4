#pragma once
// The drawing calls of the highlight frame, one Win32 call per method and no decision of its own.
// From GetWindowDC to ReleaseDC the thread runs in the window's DPI awareness: a program that
// is not DPI aware gets a DC in its own, scaled coordinates, and the metrics and rectangles
// read meanwhile must be in the same ones, or the frame misses the window at 150 %.
#include <windows.h>

#include "platform/gdi.h"

namespace corvane {

class Win32Gdi : public Gdi {
 public:
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
  DPI_AWARENESS_CONTEXT threadAwareness_ = nullptr;  // to put back at ReleaseDC, or null
};

}  // namespace corvane
