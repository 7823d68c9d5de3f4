#pragma once
// The Win32 side of a finder drag: the pointer it shows, the window that holds the mouse
// capture, and the loop that follows the pointer from the press on a finder box to the release.
// The drag itself (FinderDrag) decides what is picked; this only reports the pointer to it.
#include <windows.h>

#include <functional>
#include <utility>

#include "finder/finder_drag.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/window_base.h"

namespace corvane {

inline constexpr wchar_t kFinderCaptureClassName[] = L"CorvaneLinkFinderCapture";

// The pointer of a finder drag: the finder icon from the press to the drop, the arrow after.
class FinderPointer {
 public:
  // `icon` is the finder icon, null when the artwork lacks it.
  explicit FinderPointer(UniqueIcon icon) : icon_(std::move(icon)) {}

  HICON Icon() const { return icon_.get(); }
  // The pointer a drag shows (the finder icon once activation installed it), or null.
  HCURSOR DragCursor() const { return dragCursor_; }
  void UseIconAsDragCursor() { dragCursor_ = icon_.get(); }
  // What the capture window and the drag show: the drag cursor, else the finder icon.
  HCURSOR Cursor() const { return dragCursor_ != nullptr ? dragCursor_ : icon_.get(); }

  void Show();     // the drag pointer, from now until Restore
  void Restore();  // the arrow
  // At every poll of a drag: the drag pointer again while it is shown, whatever set another.
  void Keep() const;

 private:
  UniqueIcon icon_;
  HCURSOR dragCursor_ = nullptr;
  bool shown_ = false;
};

// The window that holds the mouse capture during a finder drag. Under Wine a hidden window
// cannot hold the capture, and the drag hides the screen with its finder boxes; this one stays
// shown, one pixel in the screen corner farthest from the pointer, and is transparent to
// WindowFromPoint, so it is never picked. It keeps the finder icon as the pointer.
class FinderCaptureWindow : public WindowBase {
 public:
  FinderCaptureWindow(HINSTANCE instance, HCURSOR cursor, POINT pointer);
  ~FinderCaptureWindow() override;
  FinderCaptureWindow(const FinderCaptureWindow&) = delete;
  FinderCaptureWindow& operator=(const FinderCaptureWindow&) = delete;
  // Moves to the corner farthest from the pointer when that corner changed.
  void KeepAwayFrom(POINT pointer);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  HCURSOR cursor_;
  POINT corner_{};
};

// One drag of a finder box, from the press on `box` to the release of `button` (a virtual key),
// wherever the pointer goes: the button and the pointer are polled, which works whether or not
// the system routes the mouse messages of another program's window to our capture. `module`
// registers the capture window's class. Once the capture is released, `drop` ends the drag at
// the pointer's position (FinderDrag::Drop, with whatever the caller makes of its failure); a
// WM_QUIT read meanwhile is posted again after it.
void RunFinderDrag(HINSTANCE module, Field box, int button, FinderDrag& finder, FinderPointer& pointer,
                   const std::function<void(Point)>& drop);

}  // namespace corvane
