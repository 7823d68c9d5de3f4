#include "finder/finder_drag_win32.h"

#include "platform/link_error.h"

namespace corvane {
namespace {

// The screen corner farthest from the pointer, where the capture window waits.
POINT FarthestCorner(POINT pointer) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1;
  const int bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1;
  return {pointer.x - left < right - pointer.x ? right : left, pointer.y - top < bottom - pointer.y ? bottom : top};
}

}  // namespace

// --- The pointer ----------------------------------------------------------------------------

void FinderPointer::Show() {
  shown_ = true;
  SetCursor(Cursor());
}

void FinderPointer::Restore() {
  shown_ = false;
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void FinderPointer::Keep() const {
  if (shown_) SetCursor(Cursor());
}

// --- The capture window ---------------------------------------------------------------------

FinderCaptureWindow::FinderCaptureWindow(HINSTANCE instance, HCURSOR cursor, POINT pointer) : cursor_(cursor) {
  if (!RegisterWindowClass(instance, kFinderCaptureClassName)) return;
  corner_ = FarthestCorner(pointer);
  CreateAttached(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kFinderCaptureClassName, L"", WS_POPUP,
                 {corner_.x, corner_.y, corner_.x + 1, corner_.y + 1}, nullptr, 0, instance);
  if (Window() == nullptr) return;
  ShowWindow(Window(), SW_SHOWNOACTIVATE);
  SetCapture(Window());
  SetCursor(cursor_);
}

FinderCaptureWindow::~FinderCaptureWindow() {
  if (Window() == nullptr) return;
  if (GetCapture() == Window()) ReleaseCapture();
  DestroyWindow(Window());
}

void FinderCaptureWindow::KeepAwayFrom(POINT pointer) {
  const POINT corner = FarthestCorner(pointer);
  if (Window() == nullptr || (corner.x == corner_.x && corner.y == corner_.y)) return;
  corner_ = corner;
  SetWindowPos(Window(), nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT FinderCaptureWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // WindowFromPoint looks through it
    case WM_SETCURSOR:
      SetCursor(cursor_);
      return TRUE;
    case WM_MOUSEMOVE:
      SetCursor(cursor_);
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

// --- The drag -------------------------------------------------------------------------------

// Why a polled loop with a capture window rather than SetCapture on the finder box alone: the
// drag hides the screen, and under Wine a hidden window gets no more mouse messages. Polling
// the button and the pointer sees the whole drag on Windows and under Wine alike; the capture,
// held by a window that stays shown, keeps the finder icon as the pointer and keeps the press
// from reaching the practice program. Messages are pumped meanwhile, so nothing stops painting.
void RunFinderDrag(HINSTANCE module, Field box, int button, FinderDrag& finder, FinderPointer& pointer,
                   const std::function<void(Point)>& drop) {
  finder.Start(box);
  POINT last{};
  GetCursorPos(&last);
  bool quit = false;
  int quitCode = 0;
  {
    FinderCaptureWindow capture(module, pointer.Cursor(), last);
    while (!quit && (GetAsyncKeyState(button) & 0x8000) != 0) {
      MSG message{};
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
          quit = true;
          quitCode = static_cast<int>(message.wParam);
          break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      POINT at{};
      if (GetCursorPos(&at) && (at.x != last.x || at.y != last.y)) {
        last = at;
        capture.KeepAwayFrom(at);
        try {
          finder.Move({at.x, at.y});
        } catch (const LinkError&) {
          // A step that could not finish keeps the earlier pick; the drag goes on to its drop.
        }
      }
      pointer.Keep();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }  // the capture is released here, before the drop shows the screen again
  GetCursorPos(&last);
  drop({last.x, last.y});
  if (quit) PostQuitMessage(quitCode);
}

}  // namespace corvane
