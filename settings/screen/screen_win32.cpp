#include "settings/screen/screen_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/link_error.h"
#include "resources/resource_ids.h"

namespace corvane {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// A dialog frame carries no icon in its caption.
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME;

using namespace screen_id;

bool IsFieldBox(int id) {
  return id > kFieldBoxBase && id <= kFieldBoxBase + kFieldCount;
}

bool IsFinderBox(int id) {
  return id > kFinderBoxBase && id <= kFinderBoxBase + kFieldCount;
}

// The screen corner farthest from the pointer, where the capture window waits.
POINT FarthestCorner(POINT pointer) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int right = left + GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1;
  const int bottom = top + GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1;
  return {pointer.x - left < right - pointer.x ? right : left, pointer.y - top < bottom - pointer.y ? bottom : top};
}

// Sets a flag for the length of a scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

// The module that holds this code, which registers the window class: the artwork may come
// from another module (a test hands the program's own file, loaded as data).
HINSTANCE CodeModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&CodeModule), &module);
  return module;
}

HBITMAP LoadBitmapResource(HINSTANCE instance, int id) {
  return static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

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

// Rank of a control among those only configuration mode shows, in the order the view shows
// and hides them: Consigne, the finder boxes by entry, MontreSurClic, RAZ.
int ShowOrder(const ControlRow& row) {
  switch (row.kind) {
    case ControlKind::Label:
      return 0;
    case ControlKind::FinderBox:
      return row.id;
    case ControlKind::CheckBox:
      return 1000;
    default:
      return 1001;
  }
}

}  // namespace

LienSidexisWindow::LienSidexisWindow(HINSTANCE instance) : instance_(instance) {
  molars_.reset(LoadBitmapResource(instance_, IDB_MOLARS));
  finderBox_.reset(LoadBitmapResource(instance_, IDB_FINDER_BOX));
  finderIcon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_FINDER), IMAGE_ICON, 0, 0, 0)));
}

LienSidexisWindow::~LienSidexisWindow() {
  // Destroyed here, not by the base, so that the window's last messages still reach this object.
  if (Window() != nullptr) DestroyWindow(Window());
}

// --- The finder's capture window ------------------------------------------------------------

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

// --- Building -------------------------------------------------------------------------------

void LienSidexisWindow::Build() {
  if (!RegisterWindowClass(CodeModule(), kScreenClassName)) return;

  // Laid out first at the system's DPI, then again at the DPI of the monitor it lands on.
  dpi_ = GetDpiForSystem();
  RECT frame{0, 0, Scale(kScreenClientWidth), Scale(kScreenClientHeight)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi_);
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
  if (windowDpi != 0) dpi_ = windowDpi;
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

void LienSidexisWindow::CreateControls() {
  // Temp and Application, the hidden text boxes of the original form, are no controls here:
  // they live in the patient record (PatientRecord::temp, PatientRecord::application),
  // which outlives this window and is put back to its design-time values when it closes.
  for (const ControlRow& row : kScreenLayout) {
    const Creation made = CreationOf(row);
    HWND control = CreateWindowExW(made.exStyle, made.className, row.caption, made.style, 0, 0, 0, 0, Window(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), CodeModule(), nullptr);
    if (row.kind == ControlKind::Button)
      SetWindowSubclass(control, &PushButtonProc, static_cast<UINT_PTR>(row.id), reinterpret_cast<DWORD_PTR>(this));
  }
}

LRESULT CALLBACK LienSidexisWindow::PushButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                                   DWORD_PTR window) noexcept {
  auto* self = reinterpret_cast<LienSidexisWindow*>(window);
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_KEYDOWN)
    self->secondPress_ = message == WM_LBUTTONDBLCLK;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(button, &PushButtonProc, id);
  const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
  if (message == WM_LBUTTONUP) self->secondPress_ = false;
  return result;
}

Press LienSidexisWindow::ClickPress() const {
  // BN_CLICKED comes while the release or the key is handled: the message time is the user's.
  return {secondPress_ ? PressKind::SecondOfDouble : PressKind::Single, static_cast<std::uint32_t>(GetMessageTime())};
}

// The client area is what the screen is drawn for; the frame around it is the system's
// business and may not follow the DPI the way the suggested rectangle assumed.
void LienSidexisWindow::FitClientArea() {
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

void LienSidexisWindow::MakeFonts() {
  for (int font = 0; font < static_cast<int>(ScreenFont::Count); ++font) {
    const FontLook& look = kScreenFonts[font];
    fonts_[font] = MakeFont(look.face, look.hundredthsOfPoint, dpi_, look.bold, look.italic);
  }
}

void LienSidexisWindow::LayOut() {
  for (const ControlRow& row : kScreenLayout) {
    HWND control = GetDlgItem(Window(), row.id);
    if (control == nullptr) continue;
    SetWindowPos(control, nullptr, Scale(row.x), Scale(row.y), Scale(row.width), Scale(row.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font(row.font)), TRUE);
  }
}

HBRUSH LienSidexisWindow::Brush(ScreenColour colour) {
  if (colour == kSystemWindowColour) return GetSysColorBrush(COLOR_WINDOW);
  for (const auto& [made, brush] : brushes_) {
    if (made == colour) return brush.get();
  }
  return brushes_.emplace_back(colour, UniqueBrush(CreateSolidBrush(colour))).second.get();
}

// --- What the presenter tells the window ----------------------------------------------------

void LienSidexisWindow::Show() {
  if (Window() == nullptr) Build();
  if (Window() == nullptr) return;
  const unsigned before = activations_;
  ShowWindow(Window(), SW_SHOW);
  SetForegroundWindow(Window());
  // Showing normally activates the window, which runs the activation; when the system
  // refuses to activate it (another program holds the foreground), the screen still
  // presents the mode it was shown for.
  if (activations_ == before) RunActivation();
}

void LienSidexisWindow::Hide() {
  if (Window() != nullptr) ShowWindow(Window(), SW_HIDE);
}

void LienSidexisWindow::BringToTop() {
  if (Window() != nullptr) corvane::BringToTop(Window());
}

void LienSidexisWindow::SetFieldText(Field field, const std::wstring& text) {
  if (Window() == nullptr) return;
  FlagScope echo(settingText_);
  SetDlgItemTextW(Window(), FieldBox(field), text.c_str());
}

void LienSidexisWindow::SetCheckBox(bool) {
  // Owner-drawn: the drawing asks the presenter how the box stands.
  if (Window() != nullptr) InvalidateRect(GetDlgItem(Window(), kMontreSurClic), nullptr, TRUE);
}

void LienSidexisWindow::ShowConfigurationControls(bool visible) {
  if (Window() == nullptr) return;
  const int command = visible ? SW_SHOW : SW_HIDE;
  std::vector<const ControlRow*> rows;
  for (const ControlRow& row : kScreenLayout) {
    if (row.shownIn == ShownIn::ConfigurationMode) rows.push_back(&row);
  }
  std::ranges::stable_sort(rows, {}, [](const ControlRow* row) { return ShowOrder(*row); });
  for (const ControlRow* row : rows) ShowWindow(GetDlgItem(Window(), row->id), command);
  // A hidden control cannot keep the focus.
  HWND focus = GetFocus();
  if (!visible && (focus == nullptr || GetParent(focus) == Window()) && (focus == nullptr || !IsWindowVisible(focus))) {
    if (GetActiveWindow() == Window()) SetFocus(GetDlgItem(Window(), FieldBox(Field::NumDossier)));
  }
  if (lastFocus_ != nullptr && !IsWindowVisible(lastFocus_))
    lastFocus_ = GetDlgItem(Window(), FieldBox(Field::NumDossier));
}

void LienSidexisWindow::SetButtonCaption(const std::wstring& caption) {
  if (Window() != nullptr) SetDlgItemTextW(Window(), kDemarrerSidexis, caption.c_str());
}

void LienSidexisWindow::UseFinderIconAsDragCursor() {
  dragCursor_ = finderIcon_.get();
}

void LienSidexisWindow::Destroy() {
  if (Window() != nullptr) DestroyWindow(Window());
}

// --- The finder's drag -------------------------------------------------------------------

void LienSidexisWindow::EmptyFinderBox(Field box) {
  SetBoxPicture(box, BoxPicture::Empty);
}

void LienSidexisWindow::ShowFinderIcon(Field box) {
  SetBoxPicture(box, BoxPicture::FinderIcon);
}

void LienSidexisWindow::SetBoxPicture(Field box, BoxPicture picture) {
  boxPictures_[static_cast<std::size_t>(EntryOf(box) - 1)] = picture;
  if (Window() != nullptr) InvalidateRect(GetDlgItem(Window(), FinderBox(box)), nullptr, TRUE);
}

void LienSidexisWindow::SetDragPointer() {
  dragPointer_ = true;
  SetCursor(FinderCursor());
}

void LienSidexisWindow::RestorePointer() {
  dragPointer_ = false;
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

// Why a polled loop with a capture window rather than SetCapture on the finder box alone: the
// drag hides the screen, and under Wine a hidden window gets no more mouse messages. Polling
// the button and the pointer sees the whole drag on Windows and under Wine alike; the capture,
// held by a window that stays shown, keeps the finder icon as the pointer and keeps the press
// from reaching the practice program. Messages are pumped meanwhile, so nothing stops painting.
void LienSidexisWindow::RunFinderDrag(Field box, int button) {
  if (finder_ == nullptr) return;
  finder_->Start(box);
  POINT last{};
  GetCursorPos(&last);
  bool quit = false;
  int quitCode = 0;
  {
    FinderCaptureWindow capture(CodeModule(), FinderCursor(), last);
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
      POINT pointer{};
      if (GetCursorPos(&pointer) && (pointer.x != last.x || pointer.y != last.y)) {
        last = pointer;
        capture.KeepAwayFrom(pointer);
        try {
          finder_->Move({pointer.x, pointer.y});
        } catch (const LinkError&) {
          // A step that could not finish keeps the earlier pick; the drag goes on to its drop.
        }
      }
      if (dragPointer_) SetCursor(FinderCursor());
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }  // the capture is released here, before the drop shows the screen again
  try {
    finder_->Drop();
  } catch (const LinkError& error) {
    if (messages_ != nullptr) messages_->Inform(FailureText(error));
  }
  if (quit) PostQuitMessage(quitCode);
}

// --- Messages -------------------------------------------------------------------------------

void LienSidexisWindow::RunActivation() {
  if (activating_) return;
  FlagScope guard(activating_);
  ++activations_;
  presenter_->OnActivate();
}

void LienSidexisWindow::OnDestroyed() noexcept {
  lastFocus_ = nullptr;
}

LRESULT LienSidexisWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && GetParent(focus) == Window()) lastFocus_ = focus;
        return 0;
      }
      RunActivation();
      if (Window() != nullptr) {
        HWND focus = lastFocus_;
        if (focus == nullptr || !IsWindowVisible(focus)) focus = GetDlgItem(Window(), FieldBox(Field::NumDossier));
        SetFocus(focus);
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_PARENTNOTIFY: {
      // Any button starts a drag on a finder box, and its release ends it.
      const UINT event = LOWORD(wParam);
      int button = event == WM_LBUTTONDOWN   ? VK_LBUTTON
                   : event == WM_RBUTTONDOWN ? VK_RBUTTON
                   : event == WM_MBUTTONDOWN ? VK_MBUTTON
                                             : 0;
      if (button == 0) return 0;
      // The button state is read by physical button: a left-handed mouse swaps them.
      if (button != VK_MBUTTON && GetSystemMetrics(SM_SWAPBUTTON))
        button = button == VK_LBUTTON ? VK_RBUTTON : VK_LBUTTON;
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const int id = GetDlgCtrlID(ChildWindowFromPointEx(Window(), point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT));
      if (IsFinderBox(id)) RunFinderDrag(FieldOfEntry(id - kFinderBoxBase), button);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      return OnColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(Window(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, Brush(kDarkBlue));
      return TRUE;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      MakeFonts();
      LayOut();
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(Window(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      FitClientArea();
      InvalidateRect(Window(), nullptr, TRUE);
      return 0;
    }
    case WM_CLOSE:
      presenter_->OnClose();
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void LienSidexisWindow::OnCommand(int id, int code) {
  if (IsFieldBox(id)) {
    if (code == EN_CHANGE && !settingText_) {
      HWND box = GetDlgItem(Window(), id);
      std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
      text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
      presenter_->OnFieldEdited(FieldOfEntry(id - kFieldBoxBase), text);
    }
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kDemarrerSidexis:
      presenter_->OnButton(ClickPress());
      break;
    case kRaz:
      presenter_->OnReset(ClickPress());
      break;
    case kMontreSurClic:
      presenter_->OnCheckBox(!presenter_->CheckBoxTicked());
      break;
    default:
      break;
  }
}

LRESULT LienSidexisWindow::OnColor(UINT message, HDC dc, HWND control) {
  const ControlRow* row = RowOf(GetDlgCtrlID(control));
  if (row == nullptr || row->text == kSystemColours) {
    return Default(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  }
  SetTextColor(dc, row->text);
  SetBkColor(dc, row->ground == kSystemWindowColour ? GetSysColor(COLOR_WINDOW) : row->ground);
  return reinterpret_cast<LRESULT>(Brush(row->ground));
}

void LienSidexisWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const ControlRow* row = RowOf(static_cast<int>(item.CtlID));
  if (row == nullptr) return;
  FillRect(item.hDC, &item.rcItem, Brush(row->ground));
  switch (row->kind) {
    case ControlKind::CheckBox:
      DrawCheckBox(item);
      break;
    case ControlKind::Picture:
      StretchBitmap(item.hDC, molars_.get(), item.rcItem, COLORONCOLOR);
      break;
    case ControlKind::FinderBox: {
      const BoxPicture picture = boxPictures_[static_cast<std::size_t>(row->id - kFinderBoxBase - 1)];
      if (picture == BoxPicture::FinderIcon && finderIcon_) {
        DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, finderIcon_.get(), Scale(17), Scale(17), 0, nullptr,
                   DI_NORMAL);
      }
      // Its picture at its own size, cut by the box as a picture box cuts what does not fit.
      if (picture == BoxPicture::First && finderBox_) {
        BITMAP info{};
        GetObjectW(finderBox_.get(), sizeof info, &info);
        const RECT target{item.rcItem.left, item.rcItem.top, item.rcItem.left + Scale(info.bmWidth),
                          item.rcItem.top + Scale(info.bmHeight)};
        StretchBitmap(item.hDC, finderBox_.get(), target, COLORONCOLOR);
      }
      if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
      break;
    }
    default:
      break;
  }
}

void LienSidexisWindow::DrawCheckBox(const DRAWITEMSTRUCT& item) {
  const int box = Scale(13);
  const int height = item.rcItem.bottom - item.rcItem.top;
  RECT square{item.rcItem.left, item.rcItem.top + (height - box) / 2, item.rcItem.left + box,
              item.rcItem.top + (height - box) / 2 + box};
  DrawFrameControl(item.hDC, &square, DFC_BUTTON, DFCS_BUTTONCHECK | (presenter_->CheckBoxTicked() ? DFCS_CHECKED : 0));

  RECT text{square.right + Scale(4), item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
  wchar_t caption[128] = {};
  GetWindowTextW(item.hwndItem, caption, 128);
  const ControlRow* row = RowOf(kMontreSurClic);
  Selection font(item.hDC, Font(row->font));
  SetTextColor(item.hDC, row->text);
  SetBkMode(item.hDC, TRANSPARENT);
  // Centred vertically whether the caption takes one line or two.
  RECT measured = text;
  const int textHeight = DrawTextW(item.hDC, caption, -1, &measured, DT_WORDBREAK | DT_CALCRECT);
  text.top += std::max(0, (height - textHeight) / 2);
  DrawTextW(item.hDC, caption, -1, &text, DT_WORDBREAK);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = text;
    focus.bottom = focus.top + textHeight;
    focus.right = std::min<LONG>(measured.right + 1, item.rcItem.right);
    DrawFocusRect(item.hDC, &focus);
  }
}

}  // namespace corvane
