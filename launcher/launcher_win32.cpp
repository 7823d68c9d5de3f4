#include "launcher/launcher_win32.h"

#include <commctrl.h>

#include <cmath>

#include "resources/resource_ids.h"

namespace corvane {

namespace {

// Posted to the launcher when the program shows it: the activation harvest, run after the
// command that showed the launcher has returned.
constexpr UINT kActivateMessage = WM_APP + 1;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

}  // namespace

LauncherWindow::LauncherWindow(HINSTANCE instance) : instance_(instance) {}

LauncherWindow::~LauncherWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

int LauncherWindow::Scale(int pixels) const {
  return MulDiv(pixels, static_cast<int>(dpi_), 96);
}

bool LauncherWindow::RegisterClasses() {
  WNDCLASSEXW main{};
  main.cbSize = sizeof main;
  main.lpfnWndProc = &LauncherWindow::WindowProc;
  main.hInstance = instance_;
  main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  main.lpszClassName = kLauncherClassName;
  // The finder icon, at the sizes the title bar and Alt+Tab ask for.
  icon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_FINDER), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_FINDER), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  main.hIcon = icon_.get();
  main.hIconSm = smallIcon_.get();
  WNDCLASSEXW image{};
  image.cbSize = sizeof image;
  image.lpfnWndProc = &LauncherWindow::ImageProc;
  image.hInstance = instance_;
  image.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  image.lpszClassName = kLauncherImageClassName;
  // A second Create in the same process finds the classes already there.
  const bool mainOk = RegisterClassExW(&main) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  const bool imageOk = RegisterClassExW(&image) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return mainOk && imageOk;
}

bool LauncherWindow::Create(LauncherPresenter& presenter) {
  presenter_ = &presenter;
  if (!RegisterClasses()) return false;
  tooth_.reset(static_cast<HBITMAP>(
      LoadImageW(instance_, MAKEINTRESOURCEW(IDB_LAUNCHER_TOOTH), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  window_ = CreateWindowExW(kExStyle, kLauncherClassName, kLauncherCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                            100, nullptr, nullptr, instance_, this);
  if (window_ == nullptr) return false;
  dpi_ = GetDpiForWindow(window_);
  // Said to the window as well as to its class, so that whoever asks the window gets it.
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  CreateControls();
  PlaceAtStoredPosition();
  LayOut();
  // The load: screen mode, then on top of all windows, before the window is first shown.
  presenter_->OnLoad();
  // After the load: under Wine an owner that already has a topmost tooltip does not enter
  // the topmost band itself.
  CreateTooltip();
  Show();
  UpdateWindow(window_);
  return true;
}

void LauncherWindow::CreateControls() {
  image_ =
      CreateWindowExW(0, kLauncherImageClassName, L"Image1", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 1, 1,
                      window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(launcher_id::kImage1)), instance_, this);
  // Aide is a read-only box: a static text that reports its clicks (SS_NOTIFY), created
  // after the picture and put above it.
  aide_ =
      CreateWindowExW(0, L"STATIC", L"?", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY, 0, 0, 1, 1,
                      window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(launcher_id::kAide)), instance_, nullptr);
  SetWindowPos(aide_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  aideBrush_.reset(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT)));
}

void LauncherWindow::CreateTooltip() {
  tooltip_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
  if (tooltip_ != nullptr) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(aide_);
    tool.lpszText = const_cast<wchar_t*>(kHelpTooltip);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // The tooltip is one long sentence: wrap it rather than run off the screen.
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(400));
  }
}

RECT LauncherWindow::Frame() const {
  using namespace launcher_layout;
  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, dpi_);
  return frame;
}

void LauncherWindow::PlaceAtStoredPosition() {
  using namespace launcher_layout;
  const RECT frame = Frame();
  // The client area's top-left corner, not the frame's, sits at the stored position.
  SetWindowPos(window_, nullptr, Scale(kClientLeft) + frame.left, Scale(kClientTop) + frame.top,
               frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void LauncherWindow::LayOut() {
  using namespace launcher_layout;
  MoveWindow(image_, 0, 0, Scale(kImageWidth), Scale(kImageHeight), TRUE);
  MoveWindow(aide_, Scale(kAideLeft), Scale(kAideTop), Scale(kAideSize), Scale(kAideSize), TRUE);
  LOGFONTW font{};
  font.lfHeight = -static_cast<LONG>(std::lround(kAideFontPoints * dpi_ / 72.0));
  font.lfWeight = FW_BOLD;
  font.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(font.lfFaceName, L"MS Sans Serif");
  aideFont_.reset(CreateFontIndirectW(&font));
  SendMessageW(aide_, WM_SETFONT, reinterpret_cast<WPARAM>(aideFont_.get()), TRUE);
}

void LauncherWindow::Show() {
  if (window_ == nullptr || quitRequested_) return;
  ShowWindow(window_, SW_SHOW);
  PostMessageW(window_, kActivateMessage, 0, 0);
}

void LauncherWindow::Hide() {
  if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
}

void LauncherWindow::BringToTop() {
  // Results ignored: a program in the background may not take the foreground, and the
  // topmost band is reached either way.
  SetForegroundWindow(window_);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void LauncherWindow::Quit() {
  quitRequested_ = true;
  Hide();
  PostQuitMessage(0);
}

void LauncherWindow::OnMouseDown(int button, WPARAM keys) {
  // Shift and Ctrl come with the message itself; Alt has no such flag, so it is read from
  // the keyboard state of this thread.
  int shift = 0;
  if (keys & MK_SHIFT) shift += mouse::kShift;
  if (keys & MK_CONTROL) shift += mouse::kCtrl;
  if (GetKeyState(VK_MENU) < 0) shift += mouse::kAlt;
  presenter_->OnMouseDown(button, shift);
}

void LauncherWindow::PaintImage(HWND image) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(image, &paint);
  RECT client{};
  GetClientRect(image, &client);
  if (tooth_) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, tooth_.get());
    BITMAP bitmap{};
    GetObjectW(tooth_.get(), sizeof bitmap, &bitmap);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, bitmap.bmWidth, bitmap.bmHeight, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
  } else {
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  }
  EndPaint(image, &paint);
}

LRESULT CALLBACK LauncherWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  LauncherWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<LauncherWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<LauncherWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // Nothing may cross into USER32; the presenter reports the link's own failures itself.
    MessageBoxW(window, L"Une erreur inattendue a interrompu la commande.", kLauncherCaption, MB_OK | MB_TOPMOST);
    return 0;
  }
}

LRESULT CALLBACK LauncherWindow::ImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  LauncherWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<LauncherWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<LauncherWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->HandleImageMessage(window, message, wParam, lParam);
  } catch (...) {
    MessageBoxW(window, L"Une erreur inattendue a interrompu la commande.", kLauncherCaption, MB_OK | MB_TOPMOST);
    return 0;
  }
}

LRESULT LauncherWindow::HandleImageMessage(HWND image, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      OnMouseDown(mouse::kLeft, wParam);
      return 0;
    case WM_RBUTTONDOWN:
      OnMouseDown(mouse::kRight, wParam);
      return 0;
    case WM_MBUTTONDOWN:
      OnMouseDown(mouse::kMiddle, wParam);
      return 0;
    case WM_PAINT:
      PaintImage(image);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture covers it all
    default:
      return DefWindowProcW(image, message, wParam, lParam);
  }
}

LRESULT LauncherWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kActivateMessage:
      if (!quitRequested_ && IsWindowVisible(window_)) presenter_->OnActivate();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == launcher_id::kAide && (HIWORD(wParam) == STN_CLICKED || HIWORD(wParam) == STN_DBLCLK)) {
        presenter_->OnHelp();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == aide_) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        return reinterpret_cast<LRESULT>(aideBrush_.get());
      }
      break;
    case WM_SYSCOLORCHANGE:
      aideBrush_.reset(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT)));
      InvalidateRect(aide_, nullptr, TRUE);
      break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut();
      return 0;
    }
    case WM_GETMINMAXINFO: {
      // The launcher is narrower than the system's smallest captioned window: allow it.
      const RECT frame = Frame();
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
      return 0;
    }
    case WM_CLOSE:
      // The close box asks the quit question; only Yes ends the program.
      presenter_->OnCloseRequest();
      return 0;
    case WM_DESTROY:
      // The window goes only when the program ends; no other window keeps the loop alive.
      if (!quitRequested_) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace corvane
