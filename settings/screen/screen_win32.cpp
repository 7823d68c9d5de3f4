#include "settings/screen/screen_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/link_error.h"
#include "resources/resource_ids.h"

namespace corvane {
namespace {

using namespace screen_id;

bool IsFieldBox(int id) {
  return id > kFieldBoxBase && id <= kFieldBoxBase + kFieldCount;
}

bool IsFinderBox(int id) {
  return id > kFinderBoxBase && id <= kFinderBoxBase + kFieldCount;
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

ScreenWindow::ScreenWindow(HINSTANCE instance)
    : instance_(instance),
      molars_(LoadBitmapResource(instance, IDB_MOLARS)),
      finderBox_(LoadBitmapResource(instance, IDB_FINDER_BOX)),
      finderPointer_(LoadIconResource(instance, IDI_FINDER)) {}

ScreenWindow::~ScreenWindow() {
  // Destroyed here, not by the base, so that the window's last messages still reach this object.
  if (Window() != nullptr) DestroyWindow(Window());
}

// --- What the presenter tells the window ----------------------------------------------------

void ScreenWindow::Show() {
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

void ScreenWindow::Hide() {
  if (Window() != nullptr) ShowWindow(Window(), SW_HIDE);
}

void ScreenWindow::BringToTop() {
  if (Window() != nullptr) corvane::BringToTop(Window());
}

void ScreenWindow::SetFieldText(Field field, const std::wstring& text) {
  if (Window() == nullptr) return;
  FlagScope echo(settingText_);
  SetDlgItemTextW(Window(), FieldBox(field), text.c_str());
}

void ScreenWindow::SetCheckBox(bool) {
  // Owner-drawn: the drawing asks the presenter how the box stands.
  if (Window() != nullptr) InvalidateRect(GetDlgItem(Window(), kMontreSurClic), nullptr, TRUE);
}

void ScreenWindow::ShowConfigurationControls(bool visible) {
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

void ScreenWindow::SetButtonCaption(const std::wstring& caption) {
  if (Window() != nullptr) SetDlgItemTextW(Window(), kDemarrerSidexis, caption.c_str());
}

void ScreenWindow::UseFinderIconAsDragCursor() {
  finderPointer_.UseIconAsDragCursor();
}

void ScreenWindow::Destroy() {
  if (Window() != nullptr) DestroyWindow(Window());
}

// --- The finder's drag -------------------------------------------------------------------

void ScreenWindow::EmptyFinderBox(Field box) {
  SetBoxPicture(box, BoxPicture::Empty);
}

void ScreenWindow::ShowFinderIcon(Field box) {
  SetBoxPicture(box, BoxPicture::FinderIcon);
}

void ScreenWindow::SetBoxPicture(Field box, BoxPicture picture) {
  boxPictures_[static_cast<std::size_t>(EntryOf(box) - 1)] = picture;
  if (Window() != nullptr) InvalidateRect(GetDlgItem(Window(), FinderBox(box)), nullptr, TRUE);
}

void ScreenWindow::SetDragPointer() {
  finderPointer_.Show();
}

void ScreenWindow::RestorePointer() {
  finderPointer_.Restore();
}

void ScreenWindow::DragFinder(Field box, int button) {
  if (finder_ == nullptr) return;
  RunFinderDrag(CodeModule(), box, button, *finder_, finderPointer_, [this](Point release) { DropFinder(release); });
}

void ScreenWindow::DropFinder(Point release) {
  RunShowingFailure(*messages_, [this, release] { finder_->Drop(release); });
}

// --- Messages -------------------------------------------------------------------------------

void ScreenWindow::RunActivation() {
  if (activating_) return;
  FlagScope guard(activating_);
  ++activations_;
  presenter_->OnActivate();
}

void ScreenWindow::OnDestroyed() noexcept {
  lastFocus_ = nullptr;
}

LRESULT ScreenWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
      if (IsFinderBox(id)) DragFinder(FieldOfEntry(id - kFinderBoxBase), button);
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
    case WM_DPICHANGED:
      TakeNewDpi(wParam);
      MakeFonts();
      LayOut();
      TakeSuggestedRect(lParam);
      FitClientArea();
      InvalidateRect(Window(), nullptr, TRUE);
      return 0;
    case WM_CLOSE:
      presenter_->OnClose();
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void ScreenWindow::OnCommand(int id, int code) {
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

LRESULT CALLBACK ScreenWindow::PushButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR window) noexcept {
  auto* self = reinterpret_cast<ScreenWindow*>(window);
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_KEYDOWN)
    self->secondPress_ = message == WM_LBUTTONDBLCLK;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(button, &PushButtonProc, id);
  const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
  if (message == WM_LBUTTONUP) self->secondPress_ = false;
  return result;
}

Press ScreenWindow::ClickPress() const {
  // BN_CLICKED comes while the release or the key is handled: the message time is the user's.
  return {secondPress_ ? PressKind::SecondOfDouble : PressKind::Single, static_cast<std::uint32_t>(GetMessageTime())};
}

}  // namespace corvane
