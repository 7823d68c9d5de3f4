#include "launcher/launcher_win32.h"

#include <commctrl.h>

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
  // Destroyed here, not by the base, so that the window's last messages still reach this object.
  if (Window() != nullptr) DestroyWindow(Window());
}

bool LauncherWindow::RegisterClasses() {
  // The finder icon, at the sizes the title bar and Alt+Tab ask for.
  icon_ = LoadIconResource(instance_, IDI_FINDER, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  smallIcon_ = LoadIconResource(instance_, IDI_FINDER, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  const bool mainOk = RegisterWindowClass(instance_, kLauncherClassName, icon_.get(), smallIcon_.get(),
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  const bool imageOk = RegisterWindowClass(instance_, kLauncherImageClassName, nullptr, nullptr, nullptr, CS_DBLCLKS);
  endRequest_ = RegisterWindowMessageW(kEndRequestName);
  return mainOk && imageOk;
}

bool LauncherWindow::Create(LauncherPresenter& presenter) {
  presenter_ = &presenter;
  if (!RegisterClasses()) return false;
  // Placed at its stored position once its DPI, hence its frame, is known.
  const RECT unplaced{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + 100, CW_USEDEFAULT + 100};
  if (CreateAttached(kExStyle, kLauncherClassName, kLauncherCaption, kStyle, unplaced, nullptr, 0, instance_) ==
      nullptr) {
    return false;
  }
  SetDpi(GetDpiForWindow(Window()));
  // Said to the window as well as to its class, so that whoever asks the window gets it.
  SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  CreateControls();
  PlaceAtStoredPosition();
  LayOut();
  // The load: screen mode, then on top of all windows, before the window is first shown.
  presenter_->OnLoad();
  // After the load: under Wine an owner that already has a topmost tooltip does not enter
  // the topmost band itself.
  CreateTooltip();
  Show();
  UpdateWindow(Window());
  return true;
}

void LauncherWindow::CreateControls() {
  image_.Create(Window(), instance_);
  // Aide is a read-only box: a static text that reports its clicks (SS_NOTIFY), created
  // after the picture and put above it.
  aide_ =
      CreateWindowExW(0, L"STATIC", L"?", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY, 0, 0, 1, 1,
                      Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(launcher_id::kAide)), instance_, nullptr);
  SetWindowPos(aide_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  aideBrush_.reset(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT)));
}

void LauncherWindow::CreateTooltip() {
  tooltip_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window(), nullptr, instance_, nullptr);
  if (tooltip_ != nullptr) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Window();
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
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExStyle, Dpi());
  return frame;
}

void LauncherWindow::PlaceAtStoredPosition() {
  using namespace launcher_layout;
  const RECT frame = Frame();
  // The client area's top-left corner, not the frame's, sits at the stored position.
  SetWindowPos(Window(), nullptr, Scale(kClientLeft) + frame.left, Scale(kClientTop) + frame.top,
               frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void LauncherWindow::LayOut() {
  using namespace launcher_layout;
  MoveWindow(image_.Window(), 0, 0, Scale(kImageWidth), Scale(kImageHeight), TRUE);
  MoveWindow(aide_, Scale(kAideLeft), Scale(kAideTop), Scale(kAideSize), Scale(kAideSize), TRUE);
  aideFont_ = MakeFont(L"MS Sans Serif", kAideFontHundredthsOfPoint, Dpi(), true);
  SendMessageW(aide_, WM_SETFONT, reinterpret_cast<WPARAM>(aideFont_.get()), TRUE);
}

void LauncherWindow::Show() {
  if (Window() == nullptr || quitRequested_) return;
  ShowWindow(Window(), SW_SHOW);
  // The launcher comes back as the window the user works with: the next click on it, with
  // Shift or Ctrl held, must find the keyboard with it.
  SetForegroundWindow(Window());
  PostMessageW(Window(), kActivateMessage, 0, 0);
}

void LauncherWindow::Hide() {
  if (Window() != nullptr) ShowWindow(Window(), SW_HIDE);
}

void LauncherWindow::BringToTop() {
  corvane::BringToTop(Window());
}

void LauncherWindow::Quit() {
  quitRequested_ = true;
  Hide();
  PostQuitMessage(0);
}

void LauncherWindow::OnMouseDown(int button, WPARAM keys, PressKind kind) {
  // Shift and Ctrl come with the message itself; Alt has no such flag, so it is read from
  // the keyboard state of this thread.
  int shift = 0;
  if (keys & MK_SHIFT) shift += mouse::kShift;
  if (keys & MK_CONTROL) shift += mouse::kCtrl;
  if (GetKeyState(VK_MENU) < 0) shift += mouse::kAlt;
  // The message's time is when the press was made, however long it waited in the queue.
  presenter_->OnMouseDown(button, shift, {kind, static_cast<std::uint32_t>(GetMessageTime())});
}

bool LauncherPicture::Create(HWND parent, HINSTANCE instance) {
  tooth_ = LoadBitmapResource(instance, IDB_LAUNCHER_TOOTH);
  return CreateAttached(0, kLauncherImageClassName, L"Image1", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, {0, 0, 1, 1},
                        parent, launcher_id::kImage1, instance) != nullptr;
}

void LauncherPicture::Paint() {
  PaintDc dc(Window());
  RECT client{};
  GetClientRect(Window(), &client);
  if (tooth_) {
    StretchBitmap(dc.get(), tooth_.get(), client, HALFTONE);
  } else {
    FillRect(dc.get(), &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  }
}

LRESULT LauncherPicture::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onPress_(mouse::kLeft, wParam, message == WM_LBUTTONDOWN ? PressKind::Single : PressKind::SecondOfDouble);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      onPress_(mouse::kRight, wParam, message == WM_RBUTTONDOWN ? PressKind::Single : PressKind::SecondOfDouble);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      onPress_(mouse::kMiddle, wParam, message == WM_MBUTTONDOWN ? PressKind::Single : PressKind::SecondOfDouble);
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture covers it all
    default:
      return Default(message, wParam, lParam);
  }
}

LRESULT LauncherWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (endRequest_ != 0 && message == endRequest_) {
    Quit();
    return 0;
  }
  switch (message) {
    case kActivateMessage:
      if (!quitRequested_ && IsWindowVisible(Window())) presenter_->OnActivate();
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
    case WM_DPICHANGED:
      TakeNewDpi(wParam);
      TakeSuggestedRect(lParam);
      LayOut();
      return 0;
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
  return Default(message, wParam, lParam);
}

}  // namespace corvane
