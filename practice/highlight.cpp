#include "practice/highlight.h"

#include <optional>

#include "practice/control_text.h"

namespace corvane {
namespace {

// The guards below put the device context back and free what the frame created on every
// path, a throwing one included. On the ordinary path each is released by hand, so the calls
// reach the system in the order the frame needs (selections back before the objects go).

// A GDI object this routine created: deleted once.
class CreatedObject {
 public:
  CreatedObject(Gdi& gdi, GdiHandle object) : gdi_(gdi), object_(object) {}
  CreatedObject(const CreatedObject&) = delete;
  CreatedObject& operator=(const CreatedObject&) = delete;
  ~CreatedObject() { Delete(); }

  GdiHandle Get() const { return object_; }
  void Delete() {
    if (object_ != 0) gdi_.DeleteObject(object_);
    object_ = 0;
  }

 private:
  Gdi& gdi_;
  GdiHandle object_;
};

// The window's whole-window device context: released once.
class WindowDc {
 public:
  WindowDc(Gdi& gdi, WindowHandle window) : gdi_(gdi), window_(window), dc_(gdi.GetWindowDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { Release(); }

  GdiHandle Get() const { return dc_; }
  void Release() {
    if (dc_ != 0) gdi_.ReleaseDC(window_, dc_);
    dc_ = 0;
  }

 private:
  Gdi& gdi_;
  WindowHandle window_;
  GdiHandle dc_;
};

// An object selected into the DC: the one it replaced goes back once.
class Selection {
 public:
  Selection(Gdi& gdi, GdiHandle dc, GdiHandle object) : gdi_(gdi), dc_(dc), previous_(gdi.SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() { Restore(); }

  void Restore() {
    if (previous_ != 0) gdi_.SelectObject(dc_, previous_);
    previous_ = 0;
  }

 private:
  Gdi& gdi_;
  GdiHandle dc_;
  GdiHandle previous_;
};

// The DC's mix mode: the previous one goes back once.
class MixMode {
 public:
  MixMode(Gdi& gdi, GdiHandle dc, int mode) : gdi_(gdi), dc_(dc), previous_(gdi.SetROP2(dc, mode)) {}
  MixMode(const MixMode&) = delete;
  MixMode& operator=(const MixMode&) = delete;
  ~MixMode() { Restore(); }

  void Restore() {
    if (previous_ != 0) gdi_.SetROP2(dc_, previous_);
    previous_ = 0;
  }

 private:
  Gdi& gdi_;
  GdiHandle dc_;
  int previous_;
};

constexpr std::uint32_t kFrameColour = gdi::Rgb(0, 100, 255);

}  // namespace

void HighlightWindow(WindowHandle window, int factor, WindowQuery& windows, Gdi& gdi, const std::optional<Rect>& part) {
  if (!windows.IsWindow(window)) return;

  WindowDc dc(gdi, window);
  CreatedObject region(gdi, gdi.CreateRectRgn(0, 0, 0, 0));
  // Declared before the pen so that on a throwing path the pen goes first, as on the normal one.
  std::optional<CreatedObject> hatch;
  CreatedObject pen(gdi,
                    gdi.CreatePen(gdi::kPsInsideFrame, factor * gdi.GetSystemMetrics(gdi::kSmCxBorder), kFrameColour));
  Selection penSelection(gdi, dc.Get(), pen.Get());
  Selection brushSelection(gdi, dc.Get(), gdi.GetStockObject(gdi::kNullBrush));
  MixMode mix(gdi, dc.Get(), gdi::kR2XorPen);

  const std::optional<Rect> rect = windows.WindowRect(window);
  if (part && rect) {
    // The window's DC has its origin at the window's top left corner, on screen or not.
    gdi.Rectangle(dc.Get(), part->left - rect->left, part->top - rect->top, part->right - rect->left,
                  part->bottom - rect->top);
  } else if (gdi.GetWindowRgn(window, region.Get()) != 0) {
    // A shaped window: frame the outline of its region, which GetWindowRgn just copied.
    hatch.emplace(gdi, gdi.CreateHatchBrush(gdi::kHsDiagCross, gdi.GetSysColor(gdi::kColorWindowFrame)));
    gdi.FrameRgn(dc.Get(), region.Get(), hatch->Get(), factor * gdi.GetSystemMetrics(gdi::kSmCxBorder),
                 factor * gdi.GetSystemMetrics(gdi::kSmCyBorder));
  } else {
    const int frameX = gdi.GetSystemMetrics(gdi::kSmCxFrame);
    const int frameY = gdi.GetSystemMetrics(gdi::kSmCyFrame);
    if (windows.IsZoomed(window)) {
      // A maximised window reaches past the screen by its frame: outline the part on screen.
      gdi.Rectangle(dc.Get(), frameX, frameY, gdi.GetSystemMetrics(gdi::kSmCxScreen) + frameX,
                    gdi.GetSystemMetrics(gdi::kSmCyScreen) + frameY);
    } else if (rect) {
      gdi.Rectangle(dc.Get(), 0, 0, rect->right - rect->left, rect->bottom - rect->top);
    }
  }

  penSelection.Restore();
  brushSelection.Restore();
  mix.Restore();
  pen.Delete();
  if (hatch) hatch->Delete();
  region.Delete();
  dc.Release();
}

std::wstring CaptureWindowText(WindowHandle window, WindowQuery& windows, Gdi& gdi, const TextPlatform& text) {
  std::wstring read = ReadWindowText(window, windows, text);
  HighlightWindow(window, 3, windows, gdi);
  return read;
}

}  // namespace corvane
