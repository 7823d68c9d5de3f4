#pragma once
// The window of the screen LienSidexis: a humble view that builds the controls from the layout
// table, forwards their events to ScreenPresenter and the finder boxes' drags to FinderDrag,
// and shows what it is told. Its building is in screen_build_win32.cpp, its painting in
// screen_paint_win32.cpp.
#include <windows.h>

#include <array>
#include <utility>
#include <vector>

#include "finder/finder_drag.h"
#include "finder/finder_drag_win32.h"
#include "link/command_failure.h"
#include "platform/message_boxes.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/window_base.h"
#include "reader/patient_record.h"
#include "settings/screen/screen_layout.h"
#include "settings/screen/screen_presenter.h"
#include "settings/screen/screen_view.h"

namespace corvane {

inline constexpr wchar_t kScreenClassName[] = L"LienSidexis";
inline constexpr wchar_t kScreenCaption[] = L"Lien Sidexis";

class ScreenWindow : public WindowBase, public ScreenView, public FinderView {
 public:
  // `instance` holds the artwork (resources/resource_ids.h); pictures it lacks are not drawn.
  explicit ScreenWindow(HINSTANCE instance);
  ~ScreenWindow() override;
  ScreenWindow(const ScreenWindow&) = delete;
  ScreenWindow& operator=(const ScreenWindow&) = delete;

  // The presenter its events go to; set once, before the first Show.
  void Attach(ScreenPresenter& presenter) { presenter_ = &presenter; }
  // Where a press on a finder box goes, and where a failed drop is reported; set once.
  void AttachFinder(FinderDrag& finder, MessageBoxes& messages) {
    finder_ = &finder;
    messages_ = &messages;
  }

  // Window(), the screen's window, is null while it is not built; the message loop hands its
  // messages to IsDialogMessage so that Tab moves between the controls.

  // The pointer a finder drag shows (the finder icon once activation installed it), or null.
  HCURSOR DragCursor() const { return finderPointer_.DragCursor(); }

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

  // FinderView
  void HideScreen() override { Hide(); }
  void ShowScreen() override { Show(); }
  void EmptyFinderBox(Field box) override;
  void ShowFinderIcon(Field box) override;
  void SetDragPointer() override;
  void RestorePointer() override;
  void ShowPreview(Field field, const std::wstring& text) override { SetFieldText(field, text); }

 private:
  enum class BoxPicture { First, Empty, FinderIcon };

  // A press on a finder box with `button` (a virtual key): the drag, up to its drop.
  void DragFinder(Field box, int button);
  // The drop that ends every drag; its failure is told to the user here.
  void DropFinder(Point release);
  void SetBoxPicture(Field box, BoxPicture picture);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroyed() noexcept override;
  void Build();
  void CreateControls();
  void LayOut();
  void FitClientArea();
  void MakeFonts();
  void RunActivation();
  void OnCommand(int id, int code);
  // LANCER / VALIDER and the reset take a double click as two clicks, as push buttons do; the
  // second press is marked until its release has been handled, so that its click says what it is.
  static LRESULT CALLBACK PushButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR window) noexcept;
  // The press that made the click being handled.
  Press ClickPress() const;
  LRESULT OnColor(UINT message, HDC dc, HWND control);  // WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void DrawCheckBox(const DRAWITEMSTRUCT& item);
  HBRUSH Brush(ScreenColour colour);  // made once per colour, kept with the window object
  HFONT Font(ScreenFont font) const { return fonts_[static_cast<int>(font)].get(); }

  HINSTANCE instance_;
  ScreenPresenter* presenter_ = nullptr;
  HWND lastFocus_ = nullptr;  // restored when the window becomes active again
  bool settingText_ = false;  // a field text set by the program is not typing
  bool activating_ = false;   // activation brings the window to the top: no second run
  unsigned activations_ = 0;  // runs of the activation, to tell whether a show activated
  FinderDrag* finder_ = nullptr;
  MessageBoxes* messages_ = nullptr;
  std::array<BoxPicture, kFieldCount> boxPictures_{};  // by entry - 1
  bool secondPress_ = false;                           // a push button's press is the second of a double click

  UniqueFont fonts_[static_cast<int>(ScreenFont::Count)];
  std::vector<std::pair<ScreenColour, UniqueBrush>> brushes_;
  UniqueBitmap molars_;
  UniqueBitmap finderBox_;
  FinderPointer finderPointer_;  // holds the finder icon, which the finder boxes show too
};

}  // namespace corvane
