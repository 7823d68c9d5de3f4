#pragma once
// What every window of the link is built on: the object behind a window, its class, its DPI,
// its artwork, its place on top of all windows.
#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace corvane {

// A window of ours and the object that handles its messages. The object is attached at
// WM_NCCREATE (it is CreateWindowEx's creation parameter) and detached at WM_NCDESTROY, so no
// message reaches an object that is gone. An exception that reaches the window procedure
// ends the command there: it is reported in a box and never crosses into USER32.
class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  // The window, null before it is created and once it is destroyed.
  HWND Window() const { return window_; }

  // Registers a class whose windows are WindowBase objects; a class already registered by an
  // earlier window of this process counts as done.
  static bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, HICON icon = nullptr,
                                  HICON smallIcon = nullptr, HBRUSH background = nullptr, UINT classStyle = 0);

 protected:
  WindowBase() = default;
  // Destroys the window if it still exists, detached first: a destroyed object gets no message.
  virtual ~WindowBase();

  // CreateWindowExW of a class registered with RegisterWindowClass, attached to this object.
  HWND CreateAttached(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, const RECT& place,
                      HWND parent, int id, HINSTANCE instance);
  // The messages of the attached window; what it leaves goes to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The window is gone (WM_NCDESTROY, already detached): state that lived with it goes too.
  virtual void OnDestroyed() noexcept {}
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefWindowProcW(window_, message, wParam, lParam);
  }

  // The DPI the window is laid out for, 96 until it is told, and a length of the 96-dpi
  // layout at that DPI.
  UINT Dpi() const { return dpi_; }
  void SetDpi(UINT dpi) { dpi_ = dpi; }
  int Scale(int pixels) const;
  // WM_DPICHANGED, in two steps, so that a window may do its own work between them: the
  // window is laid out for the DPI the message carries from then on, and takes the rectangle
  // the system suggests for it.
  void TakeNewDpi(WPARAM wParam) { dpi_ = HIWORD(wParam); }
  void TakeSuggestedRect(LPARAM lParam) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  HWND window_ = nullptr;
  UINT dpi_ = 96;
};

// A length of the 96-dpi layout at `dpi`.
inline int Scale(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), 96);
}

// The module that holds this code, which registers the window classes: the artwork may come
// from another module (a test hands the program's own file, loaded as data).
HINSTANCE CodeModule();

// A bitmap of `module`'s resources as a DIB section, null when the module lacks it.
UniqueBitmap LoadBitmapResource(HINSTANCE module, int id);
// An icon of `module`'s resources at `width` x `height` (0: its own size), null when it lacks it.
UniqueIcon LoadIconResource(HINSTANCE module, int id, int width = 0, int height = 0);

// A font of `hundredthsOfPoint` (9.75 pt is 975) at `dpi`: the character height is the
// point size in pixels, rounded half up.
UniqueFont MakeFont(const wchar_t* face, int hundredthsOfPoint, UINT dpi, bool bold, bool italic = false);

// Draws the whole bitmap stretched over `target` with that stretch mode (HALFTONE smooths,
// COLORONCOLOR keeps the pixels' own colours).
void StretchBitmap(HDC dc, HBITMAP bitmap, const RECT& target, int stretchMode);

// SetForegroundWindow, then into the topmost band without moving, sizing, redrawing or
// activating it. Results ignored: a program in
// the background may not take the foreground, and the topmost band is reached either way.
void BringToTop(HWND window);

}  // namespace corvane
