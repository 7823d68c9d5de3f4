#pragma once
// The window of the screen LienSidexis: a humble view that builds the controls, forwards
// their events to ScreenPresenter and shows what it is told.
#include <windows.h>

#include "link/link_state.h"
#include "launcher/launcher_view.h"
#include "platform/platform.h"
#include "platform/win32/unique_handle.h"
#include "reader/patient_record.h"
#include "settings/screen/screen_host.h"
#include "settings/screen/screen_presenter.h"

namespace corvane {

// Control identifiers of the screen (GetDlgItem on LienSidexisWindow::Window()). None is
// IDOK or IDCANCEL, so Enter and Escape in a text box do nothing.
namespace screen_id {
inline constexpr int kFieldBoxBase = 200;   // + entry number (1 .. 14): the field text boxes
inline constexpr int kFinderBoxBase = 300;  // + entry number: the finder boxes
inline constexpr int kDemarrerSidexis = 101;
inline constexpr int kRaz = 102;
inline constexpr int kMontreSurClic = 103;
inline constexpr int kConsigne = 104;
inline constexpr int kSidexis = 105;
inline constexpr int kImage1 = 106;
inline constexpr int kLabelBase = 110;  // + label number (1 .. 10)
constexpr int FieldBox(Field field) {
  return kFieldBoxBase + EntryOf(field);
}
constexpr int FinderBox(Field field) {
  return kFinderBoxBase + EntryOf(field);
}
}  // namespace screen_id

inline constexpr wchar_t kScreenClassName[] = L"LienSidexis";
inline constexpr wchar_t kScreenCaption[] = L"Lien Sidexis";

class LienSidexisWindow : public ScreenHost, private ScreenView {
 public:
  // `instance` holds the artwork (resources/resource_ids.h); pictures it lacks are not drawn.
  LienSidexisWindow(HINSTANCE instance, SharedState& state, const LinkPaths& paths, Platform& platform,
                    LauncherView& launcher);
  ~LienSidexisWindow() override;
  LienSidexisWindow(const LienSidexisWindow&) = delete;
  LienSidexisWindow& operator=(const LienSidexisWindow&) = delete;

  // Builds the window when it does not exist, shows it and activates it.
  void ShowScreen() override;
  void RefreshFields() override;

  // The screen's window, null while it is not built; the message loop hands its messages to
  // IsDialogMessage so that Tab moves between the controls.
  HWND Window() const { return window_; }
  // The pointer a finder drag shows (the finder icon once activation installed it), or null.
  HCURSOR DragCursor() const { return dragCursor_; }
  bool CheckBoxTicked() const { return presenter_.CheckBoxTicked(); }

 private:
  // ScreenView
  void Show() override;
  void Hide() override;
  void BringToTop() override;
  void SetFieldText(Field field, const std::wstring& text) override;
  void SetCheckBox(bool ticked) override;
  void ShowConfigurationControls(bool visible) override;
  void SetButtonCaption(const std::wstring& caption) override;
  void UseFinderIconAsDragCursor() override;
  void Destroy() override;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Build();
  void CreateControls();
  void LayOut();
  void FitClientArea();
  void MakeFonts();
  void RunActivation();
  void OnCommand(int id, int code);
  LRESULT OnColorStatic(HDC dc, HWND control);
  LRESULT OnColorEdit(HDC dc, HWND control);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void DrawCheckBox(const DRAWITEMSTRUCT& item);
  int Scale(int pixels) const;

  HINSTANCE instance_;
  Platform& platform_;
  ScreenPresenter presenter_;
  HWND window_ = nullptr;
  UINT dpi_ = 96;
  HWND lastFocus_ = nullptr;    // restored when the window becomes active again
  bool settingText_ = false;    // a field text set by the program is not typing
  bool activating_ = false;     // activation brings the window to the top: no second run
  unsigned activations_ = 0;    // runs of the activation, to tell whether a show activated
  bool checkBoxShown_ = false;  // MontreSurClic as drawn (owner-drawn, so kept here)
  HCURSOR dragCursor_ = nullptr;

  UniqueFont labelFont_;
  UniqueFont titleFont_;
  UniqueFont buttonFont_;
  UniqueFont resetFont_;
  UniqueFont fieldFont_;
  UniqueBrush darkBlue_;
  UniqueBrush lightBlue_;
  UniqueBrush white_;
  UniqueBitmap molars_;
  UniqueBitmap finderBox_;
  UniqueIcon finderIcon_;
};

}  // namespace corvane
