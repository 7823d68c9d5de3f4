#include "platform/win32/win32_gdi.h"

namespace corvane {
namespace {

HWND Hwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window.value);
}
HDC Hdc(GdiHandle dc) {
  return reinterpret_cast<HDC>(dc);
}
HGDIOBJ Object(GdiHandle object) {
  return reinterpret_cast<HGDIOBJ>(object);
}
template <typename H>
GdiHandle Handle(H handle) {
  return reinterpret_cast<GdiHandle>(handle);
}

}  // namespace

GdiHandle Win32Gdi::GetWindowDC(WindowHandle window) {
  const DPI_AWARENESS_CONTEXT target = ::GetWindowDpiAwarenessContext(Hwnd(window));
  if (target != nullptr && threadAwareness_ == nullptr) threadAwareness_ = ::SetThreadDpiAwarenessContext(target);
  HDC dc = ::GetWindowDC(Hwnd(window));
  if (dc == nullptr && threadAwareness_ != nullptr) {
    // No DC, so no ReleaseDC will come to put the thread back.
    ::SetThreadDpiAwarenessContext(threadAwareness_);
    threadAwareness_ = nullptr;
  }
  return Handle(dc);
}

void Win32Gdi::ReleaseDC(WindowHandle window, GdiHandle dc) {
  ::ReleaseDC(Hwnd(window), Hdc(dc));
  if (threadAwareness_ != nullptr) ::SetThreadDpiAwarenessContext(threadAwareness_);
  threadAwareness_ = nullptr;
}

GdiHandle Win32Gdi::CreateRectRgn(int left, int top, int right, int bottom) {
  return Handle(::CreateRectRgn(left, top, right, bottom));
}

int Win32Gdi::GetWindowRgn(WindowHandle window, GdiHandle region) {
  return ::GetWindowRgn(Hwnd(window), reinterpret_cast<HRGN>(region));
}

int Win32Gdi::GetSystemMetrics(int index) {
  return ::GetSystemMetrics(index);
}

std::uint32_t Win32Gdi::GetSysColor(int index) {
  return ::GetSysColor(index);
}

GdiHandle Win32Gdi::CreatePen(int style, int width, std::uint32_t color) {
  return Handle(::CreatePen(style, width, color));
}

GdiHandle Win32Gdi::CreateHatchBrush(int style, std::uint32_t color) {
  return Handle(::CreateHatchBrush(style, color));
}

GdiHandle Win32Gdi::GetStockObject(int index) {
  return Handle(::GetStockObject(index));
}

GdiHandle Win32Gdi::SelectObject(GdiHandle dc, GdiHandle object) {
  return Handle(::SelectObject(Hdc(dc), Object(object)));
}

int Win32Gdi::SetROP2(GdiHandle dc, int mode) {
  return ::SetROP2(Hdc(dc), mode);
}

void Win32Gdi::Rectangle(GdiHandle dc, int left, int top, int right, int bottom) {
  ::Rectangle(Hdc(dc), left, top, right, bottom);
}

void Win32Gdi::FrameRgn(GdiHandle dc, GdiHandle region, GdiHandle brush, int width, int height) {
  ::FrameRgn(Hdc(dc), reinterpret_cast<HRGN>(region), reinterpret_cast<HBRUSH>(brush), width, height);
}

void Win32Gdi::DeleteObject(GdiHandle object) {
  ::DeleteObject(Object(object));
}

}  // namespace corvane
