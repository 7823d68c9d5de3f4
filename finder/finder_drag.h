#pragma once
// The finder's drag: from a press on a finder box, over the practice program's windows, to the
// drop that stores the picked control's identity. It decides everything; the screen's window
// reports the three events and does what FinderView says.
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "finder/finder_state.h"
#include "platform/gdi.h"
#include "platform/link_error.h"
#include "platform/text.h"
#include "platform/window_query.h"
#include "practice/practice_window.h"
#include "settings/fields.h"
#include "settings/link_settings.h"

namespace corvane {

// What the drag asks of the configuration screen. A finder box is named by its field.
class FinderView {
 public:
  virtual ~FinderView() = default;
  virtual void HideScreen() = 0;
  virtual void ShowScreen() = 0;  // modeless; its activation follows
  // The box shows nothing while its icon travels with the pointer.
  virtual void EmptyFinderBox(Field box) = 0;
  // The box shows the finder icon, from then on in place of its first picture.
  virtual void ShowFinderIcon(Field box) = 0;
  virtual void SetDragPointer() = 0;  // the finder icon
  virtual void RestorePointer() = 0;  // the default pointer
  // The field's text box shows the text of a picked window (nothing is stored in the record).
  virtual void ShowPreview(Field field, const std::wstring& text) = 0;
};

// A field's rules: the value a text read from the practice program gives the field. The drop
// previews what the harvest will store, so the drag is given the harvest's own rules.
using FieldRules = std::wstring (*)(Field field, const std::wstring& read, const TextPlatform& text);

// A window whose control id is this is never picked.
inline constexpr std::int32_t kNeverPickedControlId = 27001;

class FinderDrag {
 public:
  // finder.highlighted is the window that carries the frame, or none: between drags none does.
  FinderDrag(FinderView& view, WindowQuery& windows, Gdi& gdi, const TextPlatform& text, FieldRules rules,
             LinkSettings& settings, PracticeWindow& practice, FinderState& finder);

  // A press on `box`: the screen hides, and the window picked by the previous drag is framed
  // again and previewed in the box's field as the harvest would read it (a single space when
  // there is none). Ignored while a drag is on.
  void Start(Field box);
  // The pointer is at `point`, in screen coordinates: the window it designates becomes the
  // pick and carries the frame. Nothing happens outside a drag.
  void Move(Point point);
  // The button is released at `release`: one last step there, on windows read anew, then the
  // frame goes, the pick is previewed as the harvest will read it for the box's field, and its
  // identity becomes the box's entry; the file-number box also captures the practice window.
  // Nothing is saved. Throws LinkError when the pick's program does not answer: the drag still
  // ends and no entry changes.
  void Drop(Point release);

 private:
  // A window of a walk and where it was when the walk was read.
  struct Placed {
    WindowHandle window;
    Rect rect;
  };
  using Walk = std::vector<Placed>;

  WindowHandle PickAt(Point point);
  // The descendants of `root` with their rectangles, read once for the length of a drag (each
  // read is a call to the practice program's side of the system); read anew when `fresh`.
  const Walk& WalkOf(WindowHandle root, bool fresh);
  // The smallest visible window of `walk` that contains the pointer, as PickAt chooses.
  WindowHandle SmallestAt(const Walk& walk, Point point, WindowHandle pointed, const Rect& pointedRect, bool topLevel);
  // Draws the frame on `window` first, then erases it where it was: only when they differ.
  void MoveFrameTo(WindowHandle window);
  void Store();
  std::wstring PreviewOf(WindowHandle window, Field box, const std::wstring& practiceClass);
  std::wstring RootOwnerClass(WindowHandle window);
  // The class the file-number drop captured in this run, else the practice class as loaded.
  std::wstring PracticeClassInForce() const;
  void CapturePracticeWindow(WindowHandle picked);
  void RecomputeEarlierDrops();
  std::wstring IdentityOf(WindowHandle window);
  void EndDrag();

  FinderView& view_;
  WindowQuery& windows_;
  Gdi& gdi_;
  const TextPlatform& text_;
  FieldRules rules_;
  LinkSettings& settings_;
  PracticeWindow& practice_;
  FinderState& finder_;
  Field box_ = Field::NumDossier;
  std::unordered_map<WindowHandle, Walk> walks_;  // by the window walked, during a drag
};

}  // namespace corvane
