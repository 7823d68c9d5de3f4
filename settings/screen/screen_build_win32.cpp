// The screen's window built from the layout table: its frame, its controls and their places,
// its fonts, at the DPI of the monitor it is on.
// clang-format off
#include "settings/screen/screen_win32.h"
#include <commctrl.h>  // needs the types of windows.h
// clang-format on

namespace corvane {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// A dialog frame carries no icon in its caption.
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME;

using namespace screen_id;

// What CreateWindowEx needs for a row: its class and styles. Only the controls shown in both
// modes start visible.
struct Creation {
  const wchar_t* className = L"STATIC";
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
};

Creation CreationOf(const ControlRow& row) {
  Creation made;
  if (row.shownIn == ShownIn::BothModes) made.style |= WS_VISIBLE;
  switch (row.kind) {
    case ControlKind::FieldBox:
      made.className = L"EDIT";
      made.style |= WS_TABSTOP | ES_AUTOHSCROLL | (row.centred ? ES_CENTER : ES_LEFT);
      made.exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::FinderBox:
      made.style |= WS_TABSTOP | SS_OWNERDRAW | SS_NOTIFY;
      break;
    case ControlKind::Button:
      made.className = L"BUTTON";
      made.style |= WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE;
      break;
    case ControlKind::CheckBox:
      // Owner-drawn: a themed check box ignores the text colour it is given.
      made.className = L"BUTTON";
      made.style |= WS_TABSTOP | BS_OWNERDRAW;
      break;
    case ControlKind::Label:
      made.style |= row.centred ? SS_CENTER : SS_LEFT;
      break;
    case ControlKind::Picture:
      made.style |= SS_OWNERDRAW;
      break;
  }
  return made;
}

}  // namespace

void ScreenWindow::Build() {
  if (!RegisterWindowClass(CodeModule(), kScreenClassName)) return;

  // Laid out first at the system's DPI, then again at the DPI of the monitor it lands on.
  SetDpi(GetDpiForSystem());
  RECT frame{0, 0, Scale(kScreenClientWidth), Scale(kScreenClientHeight)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, Dpi());
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + ((work.right - work.left) - width) / 2;
  const int y = work.top + ((work.bottom - work.top) - height) / 2;

  if (CreateAttached(kWindowExStyle, kScreenClassName, kScreenCaption, kWindowStyle, {x, y, x + width, y + height},
                     nullptr, 0, CodeModule()) == nullptr) {
    return;
  }

  const UINT windowDpi = GetDpiForWindow(Window());
  if (windowDpi != 0) SetDpi(windowDpi);
  FitClientArea();
  MakeFonts();
  CreateControls();
  LayOut();
  lastFocus_ = GetDlgItem(Window(), FieldBox(Field::NumDossier));
  boxPictures_.fill(BoxPicture::First);
  // The fields show the record as it stands: a harvest may have filled it while the screen
  // did not exist.
  presenter_->RefreshFields();
}

void ScreenWindow::CreateControls() {
  for (const ControlRow& row : kScreenLayout) {
    const Creation made = CreationOf(row);
    HWND control = CreateWindowExW(made.exStyle, made.className, row.caption, made.style, 0, 0, 0, 0, Window(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), CodeModule(), nullptr);
    if (row.kind == ControlKind::Button)
      SetWindowSubclass(control, &PushButtonProc, static_cast<UINT_PTR>(row.id), reinterpret_cast<DWORD_PTR>(this));
  }
}

// The client area is what the screen is drawn for; the frame around it is the system's
// business and may not follow the DPI the way the suggested rectangle assumed.
void ScreenWindow::FitClientArea() {
  RECT client{};
  RECT frame{};
  GetClientRect(Window(), &client);
  GetWindowRect(Window(), &frame);
  const int extraWidth = Scale(kScreenClientWidth) - client.right;
  const int extraHeight = Scale(kScreenClientHeight) - client.bottom;
  if (extraWidth == 0 && extraHeight == 0) return;
  SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left + extraWidth, frame.bottom - frame.top + extraHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ScreenWindow::MakeFonts() {
  for (int font = 0; font < static_cast<int>(ScreenFont::Count); ++font) {
    const FontLook& look = kScreenFonts[font];
    fonts_[font] = MakeFont(look.face, look.hundredthsOfPoint, Dpi(), look.bold, look.italic);
  }
}

void ScreenWindow::LayOut() {
  for (const ControlRow& row : kScreenLayout) {
    HWND control = GetDlgItem(Window(), row.id);
    if (control == nullptr) continue;
    SetWindowPos(control, nullptr, Scale(row.x), Scale(row.y), Scale(row.width), Scale(row.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font(row.font)), TRUE);
  }
}

}  // namespace corvane
