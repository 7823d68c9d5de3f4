#include "settings/screen/screen_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#if __has_include("resources/resource_ids.h")
#include "resources/resource_ids.h"
#endif

namespace corvane {
namespace {

constexpr COLORREF kDarkBlue = RGB(0, 0, 169);
constexpr COLORREF kLightBlue = RGB(192, 255, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kOrange = RGB(255, 128, 0);
constexpr COLORREF kFieldText = RGB(0, 0, 192);

constexpr int kClientWidth = 481;
constexpr int kClientHeight = 334;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// A dialog frame carries no icon in its caption.
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME;

enum class Kind { FieldBox, FinderBox, Button, CheckBox, Label, Picture };
enum class Look { Plain, Required, SystemWindow, Caption, Instruction, Title, Launch, Reset };

// One control of the screen at 96 DPI. The table's order is the creation order, hence the
// tab order and the z-order: the controls reached by Tab first, exactly as the screen lists
// them, then the labels and pictures, which take no focus.
struct ControlSpec {
  int id;
  Kind kind;
  int x, y, width, height;
  const wchar_t* text;
  Look look;
  bool centred;
};

using namespace screen_id;

constexpr int Entry(Field field) {
  return EntryOf(field);
}

constexpr ControlSpec kControls[] = {
    {FieldBox(Field::NumDossier), Kind::FieldBox, 24, 65, 73, 21, L"", Look::Required, true},
    {FieldBox(Field::NumSS), Kind::FieldBox, 313, 65, 145, 21, L"", Look::Required, true},
    {FieldBox(Field::Prenom), Kind::FieldBox, 314, 120, 145, 21, L"", Look::Required, false},
    {FieldBox(Field::DateNaissance), Kind::FieldBox, 129, 64, 162, 21, L"", Look::Required, true},
    {kDemarrerSidexis, Kind::Button, 190, 280, 126, 40, kLaunchCaption, Look::Launch, true},
    {FieldBox(Field::Ville), Kind::FieldBox, 82, 241, 129, 21, L"", Look::Plain, false},
    {FinderBox(Field::NumDossier), Kind::FinderBox, 104, 64, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::DateNaissance), Kind::FinderBox, 296, 64, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::Civilite), Kind::FinderBox, 112, 120, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::Nom), Kind::FinderBox, 296, 120, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::Adresse1), Kind::FinderBox, 216, 168, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::NumSS), Kind::FinderBox, 464, 64, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::Prenom), Kind::FinderBox, 464, 120, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::Adresse2), Kind::FinderBox, 216, 192, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::Adresse3), Kind::FinderBox, 216, 216, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::CP), Kind::FinderBox, 64, 240, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::Ville), Kind::FinderBox, 216, 240, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::Telephone), Kind::FinderBox, 464, 192, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::Mobile), Kind::FinderBox, 464, 220, 14, 17, L"", Look::Plain, false},
    {FinderBox(Field::EMail), Kind::FinderBox, 464, 248, 14, 17, L"", Look::Plain, false},
    {FieldBox(Field::Civilite), Kind::FieldBox, 16, 120, 89, 21, L"", Look::SystemWindow, false},
    {FieldBox(Field::Nom), Kind::FieldBox, 129, 120, 162, 21, L"", Look::Required, false},
    {FieldBox(Field::Mobile), Kind::FieldBox, 346, 217, 113, 21, L"", Look::Plain, false},
    {FieldBox(Field::Telephone), Kind::FieldBox, 346, 193, 113, 21, L"", Look::Plain, false},
    {FieldBox(Field::Adresse1), Kind::FieldBox, 10, 168, 201, 21, L"", Look::Plain, false},
    {FieldBox(Field::Adresse2), Kind::FieldBox, 10, 192, 201, 21, L"", Look::Plain, false},
    {FieldBox(Field::Adresse3), Kind::FieldBox, 10, 216, 201, 21, L"", Look::Plain, false},
    {FieldBox(Field::CP), Kind::FieldBox, 9, 241, 49, 21, L"", Look::Plain, false},
    {kMontreSurClic, Kind::CheckBox, 40, 288, 105, 25, L"Présenter l'écran de contrôle", Look::Caption, false},
    {kRaz, Kind::Button, 346, 280, 113, 40, L"ANNULER LE PARAMETRAGE", Look::Reset, true},
    {FieldBox(Field::EMail), Kind::FieldBox, 346, 241, 113, 21, L"", Look::Plain, false},
    // Consigne overlaps the title's lower edge; created first, it lies above it.
    {kConsigne, Kind::Label, 120, 32, 233, 17, L"Les zones en bleu clair doivent être paramétrées", Look::Instruction,
     false},
    {kSidexis, Kind::Label, 56, 0, 356, 38, L"CORVANE LINK", Look::Title, true},
    {kImage1, Kind::Picture, 415, 4, 41, 39, L"", Look::Plain, false},
    {kLabelBase + 1, Kind::Label, 10, 48, 113, 17, L"Numéro de Dossier", Look::Caption, false},
    {kLabelBase + 2, Kind::Label, 138, 49, 152, 17, L"Date de Naissance", Look::Caption, true},
    {kLabelBase + 3, Kind::Label, 304, 49, 162, 17, L"Numéro de Sécurité Sociale", Look::Caption, true},
    {kLabelBase + 4, Kind::Label, 10, 106, 97, 17, L"Civilité", Look::Caption, true},
    {kLabelBase + 5, Kind::Label, 122, 105, 177, 17, L"Nom", Look::Caption, true},
    {kLabelBase + 6, Kind::Label, 314, 105, 145, 17, L"Prénom", Look::Caption, true},
    {kLabelBase + 7, Kind::Label, 10, 153, 201, 17, L"Adresse", Look::Caption, true},
    {kLabelBase + 8, Kind::Label, 274, 196, 81, 17, L"Téléphone", Look::Caption, false},
    {kLabelBase + 9, Kind::Label, 274, 219, 65, 17, L"Mobile", Look::Caption, false},
    {kLabelBase + 10, Kind::Label, 274, 242, 57, 17, L"E Mail", Look::Caption, false},
};

const ControlSpec* SpecOf(int id) {
  for (const ControlSpec& spec : kControls) {
    if (spec.id == id) return &spec;
  }
  return nullptr;
}

bool IsFieldBox(int id) {
  return id > kFieldBoxBase && id <= kFieldBoxBase + kFieldCount;
}

// Puts back whatever was selected into a DC when it goes.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectionGuard() { SelectObject(dc_, previous_); }
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

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

// Draws the whole bitmap into the rectangle, stretched.
void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& target) {
  if (bitmap == nullptr) return;
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  HDC memory = CreateCompatibleDC(dc);
  if (memory == nullptr) return;
  {
    SelectionGuard selected(memory, bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, memory, 0, 0,
               info.bmWidth, info.bmHeight, SRCCOPY);
  }
  DeleteDC(memory);
}

UniqueFont MakeFont(const wchar_t* face, int pointsTimes100, UINT dpi, bool bold, bool italic) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(pointsTimes100, static_cast<int>(dpi), 7200);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = italic ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace

LienSidexisWindow::LienSidexisWindow(HINSTANCE instance, SharedState& state, const LinkPaths& paths, Platform& platform,
                                     LauncherView& launcher)
    : instance_(instance),
      platform_(platform),
      presenter_(state, paths, platform, *this, launcher),
      darkBlue_(CreateSolidBrush(kDarkBlue)),
      lightBlue_(CreateSolidBrush(kLightBlue)),
      white_(CreateSolidBrush(kWhite)) {
#ifdef IDB_MOLARS
  molars_.reset(LoadBitmapResource(instance_, IDB_MOLARS));
  finderBox_.reset(LoadBitmapResource(instance_, IDB_FINDER_BOX));
  finderIcon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_FINDER), IMAGE_ICON, 0, 0, 0)));
#endif
}

LienSidexisWindow::~LienSidexisWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void LienSidexisWindow::ShowScreen() {
  if (window_ == nullptr) Build();
  if (window_ != nullptr) Show();
}

void LienSidexisWindow::RefreshFields() {
  if (window_ != nullptr) presenter_.RefreshFields();
}

// --- Building -------------------------------------------------------------------------------

void LienSidexisWindow::Build() {
  static const ATOM registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &LienSidexisWindow::WindowProc;
    windowClass.hInstance = CodeModule();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kScreenClassName;
    return RegisterClassExW(&windowClass);
  }();
  if (registered == 0) return;

  // Laid out first at the system's DPI, then again at the DPI of the monitor it lands on.
  dpi_ = GetDpiForSystem();
  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi_);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + ((work.right - work.left) - width) / 2;
  const int y = work.top + ((work.bottom - work.top) - height) / 2;

  CreateWindowExW(kWindowExStyle, kScreenClassName, kScreenCaption, kWindowStyle, x, y, width, height, nullptr, nullptr,
                  CodeModule(), this);
  if (window_ == nullptr) return;

  const UINT windowDpi = GetDpiForWindow(window_);
  if (windowDpi != 0) dpi_ = windowDpi;
  FitClientArea();
  MakeFonts();
  CreateControls();
  LayOut();
  lastFocus_ = GetDlgItem(window_, FieldBox(Field::NumDossier));
  // The fields show the record as it stands: a harvest may have filled it while the screen
  // did not exist.
  presenter_.RefreshFields();
}

void LienSidexisWindow::CreateControls() {
  // Temp and Application, the hidden text boxes of the original form, are no controls here:
  // they live in the patient record (PatientRecord::temp, PatientRecord::application),
  // which outlives this window and is put back to its design-time values when it closes.
  for (const ControlSpec& spec : kControls) {
    const wchar_t* className = L"STATIC";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (spec.kind) {
      case Kind::FieldBox:
        className = L"EDIT";
        style |= WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (spec.centred ? ES_CENTER : ES_LEFT);
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Kind::FinderBox:
        // Shown by activation in configuration mode only.
        style |= WS_TABSTOP | SS_OWNERDRAW | SS_NOTIFY;
        break;
      case Kind::Button:
        className = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | (spec.id == kRaz ? 0 : WS_VISIBLE);
        break;
      case Kind::CheckBox:
        // Owner-drawn: a themed check box ignores the text colour it is given.
        className = L"BUTTON";
        style |= WS_TABSTOP | BS_OWNERDRAW;
        break;
      case Kind::Label:
        style |= (spec.centred ? SS_CENTER : SS_LEFT) | (spec.id == kConsigne ? 0 : WS_VISIBLE);
        break;
      case Kind::Picture:
        style |= WS_VISIBLE | SS_OWNERDRAW;
        break;
    }
    CreateWindowExW(exStyle, className, spec.text, style, 0, 0, 0, 0, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), CodeModule(), nullptr);
  }
}

// The client area is what the screen is drawn for; the frame around it is the system's
// business and may not follow the DPI the way the suggested rectangle assumed.
void LienSidexisWindow::FitClientArea() {
  RECT client{};
  RECT frame{};
  GetClientRect(window_, &client);
  GetWindowRect(window_, &frame);
  const int extraWidth = Scale(kClientWidth) - client.right;
  const int extraHeight = Scale(kClientHeight) - client.bottom;
  if (extraWidth == 0 && extraHeight == 0) return;
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + extraWidth, frame.bottom - frame.top + extraHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int LienSidexisWindow::Scale(int pixels) const {
  return MulDiv(pixels, static_cast<int>(dpi_), 96);
}

void LienSidexisWindow::MakeFonts() {
  labelFont_ = MakeFont(L"MS Sans Serif", 825, dpi_, true, false);
  fieldFont_ = MakeFont(L"MS Sans Serif", 825, dpi_, false, false);
  titleFont_ = MakeFont(L"Arial", 2175, dpi_, false, false);
  buttonFont_ = MakeFont(L"MS Sans Serif", 1350, dpi_, true, false);
  resetFont_ = MakeFont(L"MS Sans Serif", 825, dpi_, false, true);
}

void LienSidexisWindow::LayOut() {
  for (const ControlSpec& spec : kControls) {
    HWND control = GetDlgItem(window_, spec.id);
    if (control == nullptr) continue;
    SetWindowPos(control, nullptr, Scale(spec.x), Scale(spec.y), Scale(spec.width), Scale(spec.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = labelFont_.get();
    switch (spec.look) {
      case Look::Title:
        font = titleFont_.get();
        break;
      case Look::Launch:
        font = buttonFont_.get();
        break;
      case Look::Reset:
        font = resetFont_.get();
        break;
      case Look::Instruction:
        font = fieldFont_.get();
        break;
      default:
        if (spec.kind == Kind::FieldBox) font = fieldFont_.get();
        break;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

// --- What the presenter tells the window ----------------------------------------------------

void LienSidexisWindow::Show() {
  if (window_ == nullptr) return;
  const unsigned before = activations_;
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  // Showing normally activates the window, which runs the activation; when the system
  // refuses to activate it (another program holds the foreground), the screen still
  // presents the mode it was shown for.
  if (activations_ == before) RunActivation();
}

void LienSidexisWindow::Hide() {
  if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
}

void LienSidexisWindow::BringToTop() {
  if (window_ == nullptr) return;
  SetForegroundWindow(window_);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, 0x1B);  // SWP_NOSIZE|NOMOVE|NOREDRAW|NOACTIVATE
}

void LienSidexisWindow::SetFieldText(Field field, const std::wstring& text) {
  if (window_ == nullptr) return;
  FlagScope echo(settingText_);
  SetDlgItemTextW(window_, FieldBox(field), text.c_str());
}

void LienSidexisWindow::SetCheckBox(bool ticked) {
  checkBoxShown_ = ticked;
  if (window_ != nullptr) InvalidateRect(GetDlgItem(window_, kMontreSurClic), nullptr, TRUE);
}

void LienSidexisWindow::ShowConfigurationControls(bool visible) {
  if (window_ == nullptr) return;
  const int command = visible ? SW_SHOW : SW_HIDE;
  ShowWindow(GetDlgItem(window_, kConsigne), command);
  for (int entry = 1; entry <= kFieldCount; ++entry) {
    ShowWindow(GetDlgItem(window_, FinderBox(FieldOfEntry(entry))), command);
  }
  ShowWindow(GetDlgItem(window_, kMontreSurClic), command);
  ShowWindow(GetDlgItem(window_, kRaz), command);
  // A hidden control cannot keep the focus.
  HWND focus = GetFocus();
  if (!visible && (focus == nullptr || GetParent(focus) == window_) && (focus == nullptr || !IsWindowVisible(focus))) {
    if (GetActiveWindow() == window_) SetFocus(GetDlgItem(window_, FieldBox(Field::NumDossier)));
  }
  if (lastFocus_ != nullptr && !IsWindowVisible(lastFocus_))
    lastFocus_ = GetDlgItem(window_, FieldBox(Field::NumDossier));
}

void LienSidexisWindow::SetButtonCaption(const std::wstring& caption) {
  if (window_ != nullptr) SetDlgItemTextW(window_, kDemarrerSidexis, caption.c_str());
}

void LienSidexisWindow::UseFinderIconAsDragCursor() {
  dragCursor_ = finderIcon_.get();
}

void LienSidexisWindow::Destroy() {
  if (window_ != nullptr) DestroyWindow(window_);
}

// --- Messages -------------------------------------------------------------------------------

void LienSidexisWindow::RunActivation() {
  if (activating_) return;
  FlagScope guard(activating_);
  ++activations_;
  presenter_.OnActivate();
}

LRESULT CALLBACK LienSidexisWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<LienSidexisWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<LienSidexisWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->lastFocus_ = nullptr;
    self->checkBoxShown_ = false;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const LinkError& error) {
    self->platform_.messages.Inform(CommandFailureText(error));
  } catch (...) {
    // Nothing may cross into USER32; the command is abandoned.
  }
  return 0;
}

LRESULT LienSidexisWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && GetParent(focus) == window_) lastFocus_ = focus;
        return 0;
      }
      RunActivation();
      if (window_ != nullptr) {
        HWND focus = lastFocus_;
        if (focus == nullptr || !IsWindowVisible(focus)) focus = GetDlgItem(window_, FieldBox(Field::NumDossier));
        SetFocus(focus);
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLOREDIT:
      return OnColorEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, darkBlue_.get());
      return TRUE;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      MakeFonts();
      LayOut();
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      FitClientArea();
      InvalidateRect(window_, nullptr, TRUE);
      return 0;
    }
    case WM_CLOSE:
      presenter_.OnClose();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void LienSidexisWindow::OnCommand(int id, int code) {
  if (IsFieldBox(id)) {
    if (code == EN_CHANGE && !settingText_) {
      HWND box = GetDlgItem(window_, id);
      std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
      text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
      presenter_.OnFieldEdited(FieldOfEntry(id - kFieldBoxBase), text);
    }
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kDemarrerSidexis:
      presenter_.OnButton();
      break;
    case kRaz:
      presenter_.OnReset();
      break;
    case kMontreSurClic:
      SetCheckBox(!checkBoxShown_);
      presenter_.OnCheckBox(checkBoxShown_);
      break;
    default:
      break;
  }
}

LRESULT LienSidexisWindow::OnColorStatic(HDC dc, HWND control) {
  const ControlSpec* spec = SpecOf(GetDlgCtrlID(control));
  COLORREF text = kRed;
  if (spec != nullptr && spec->look == Look::Title) text = kOrange;
  if (spec != nullptr && spec->look == Look::Instruction) text = kLightBlue;
  SetTextColor(dc, text);
  SetBkColor(dc, kDarkBlue);
  return reinterpret_cast<LRESULT>(darkBlue_.get());
}

LRESULT LienSidexisWindow::OnColorEdit(HDC dc, HWND control) {
  const ControlSpec* spec = SpecOf(GetDlgCtrlID(control));
  SetTextColor(dc, kFieldText);
  if (spec != nullptr && spec->look == Look::Required) {
    SetBkColor(dc, kLightBlue);
    return reinterpret_cast<LRESULT>(lightBlue_.get());
  }
  if (spec != nullptr && spec->look == Look::SystemWindow) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  SetBkColor(dc, kWhite);
  return reinterpret_cast<LRESULT>(white_.get());
}

void LienSidexisWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const int id = static_cast<int>(item.CtlID);
  if (id == kMontreSurClic) {
    DrawCheckBox(item);
  } else if (id == kImage1) {
    FillRect(item.hDC, &item.rcItem, darkBlue_.get());
    DrawBitmap(item.hDC, molars_.get(), item.rcItem);
  } else {
    // A finder box: its picture at its own size on the window colour, cut by the box as a
    // picture box cuts what does not fit.
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    if (finderBox_) {
      BITMAP info{};
      GetObjectW(finderBox_.get(), sizeof info, &info);
      const RECT target{item.rcItem.left, item.rcItem.top, item.rcItem.left + Scale(info.bmWidth),
                        item.rcItem.top + Scale(info.bmHeight)};
      DrawBitmap(item.hDC, finderBox_.get(), target);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
  }
}

void LienSidexisWindow::DrawCheckBox(const DRAWITEMSTRUCT& item) {
  FillRect(item.hDC, &item.rcItem, darkBlue_.get());
  const int box = Scale(13);
  const int height = item.rcItem.bottom - item.rcItem.top;
  RECT square{item.rcItem.left, item.rcItem.top + (height - box) / 2, item.rcItem.left + box,
              item.rcItem.top + (height - box) / 2 + box};
  DrawFrameControl(item.hDC, &square, DFC_BUTTON, DFCS_BUTTONCHECK | (checkBoxShown_ ? DFCS_CHECKED : 0));

  RECT text{square.right + Scale(4), item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
  wchar_t caption[128] = {};
  GetWindowTextW(item.hwndItem, caption, 128);
  SelectionGuard font(item.hDC, labelFont_.get());
  SetTextColor(item.hDC, kRed);
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
