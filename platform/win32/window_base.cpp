#include "platform/win32/window_base.h"

#include <utility>

#include "platform/win32/win32_message_boxes.h"

namespace corvane {

WindowBase::~WindowBase() {
  if (window_ == nullptr) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(std::exchange(window_, nullptr));
}

HWND WindowBase::CreateAttached(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
                                const RECT& place, HWND parent, int id, HINSTANCE instance) {
  return CreateWindowExW(exStyle, className, caption, style, place.left, place.top, place.right - place.left,
                         place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                         this);
}

LRESULT CALLBACK WindowBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* attached = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    attached->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(attached));
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->OnDestroyed();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // The link's own failures are reported by whoever ran the command; what still gets here
    // abandons the command, and the program goes on.
    Win32MessageBoxes boxes;
    boxes.SetOwner([window] { return window; });
    boxes.Inform(kUnexpectedFailure, kLinkName);
    return 0;
  }
}

bool WindowBase::RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon, HICON smallIcon,
                                     HBRUSH background, UINT classStyle) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = &WindowBase::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className;
  windowClass.hIcon = icon;
  windowClass.hIconSm = smallIcon;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int WindowBase::Scale(int pixels) const {
  return corvane::Scale(pixels, dpi_);
}

void WindowBase::TakeSuggestedRect(LPARAM lParam) const {
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

HINSTANCE CodeModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&CodeModule), &module);
  return module;
}

UniqueBitmap LoadBitmapResource(HINSTANCE module, int id) {
  return UniqueBitmap(
      static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

UniqueIcon LoadIconResource(HINSTANCE module, int id, int width, int height) {
  return UniqueIcon(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0)));
}

UniqueFont MakeFont(const wchar_t* face, int hundredthsOfPoint, UINT dpi, bool bold, bool italic) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = italic ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&font));
}

void StretchBitmap(HDC dc, HBITMAP bitmap, const RECT& target, int stretchMode) {
  if (bitmap == nullptr) return;
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  if (!memory) return;
  Selection selected(memory.get(), bitmap);
  SetStretchBltMode(dc, stretchMode);
  // HALFTONE reads the brush origin, which it leaves undefined.
  if (stretchMode == HALFTONE) SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, memory.get(), 0, 0,
             info.bmWidth, info.bmHeight, SRCCOPY);
}

void BringToTop(HWND window) {
  SetForegroundWindow(window);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
}

}  // namespace corvane
