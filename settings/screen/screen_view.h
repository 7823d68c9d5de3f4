#pragma once
// What the screen LienSidexis asks of its window, and of the launcher it gives way to.
#include <string>

#include "reader/patient_record.h"

namespace corvane {

// What the screen's window can be told to do.
class ScreenView {
 public:
  virtual ~ScreenView() = default;
  // Shows the window modeless, building it first when it does not exist (the next use after
  // a close builds it again); its activation follows.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  // Into the foreground and the topmost band, without moving, sizing or activating it.
  virtual void BringToTop() = 0;
  virtual void SetFieldText(Field field, const std::wstring& text) = 0;
  virtual void SetCheckBox(bool ticked) = 0;
  // Shows or hides, in this order, Consigne, the 14 finder boxes (IAdresse1 .. IVille),
  // MontreSurClic and RAZ.
  virtual void ShowConfigurationControls(bool visible) = 0;
  virtual void SetButtonCaption(const std::wstring& caption) = 0;
  // The pointer the finder shows during a drag becomes the finder icon.
  virtual void UseFinderIconAsDragCursor() = 0;
  // Destroys the window with its controls; the next use builds it again.
  virtual void Destroy() = 0;
};

// What the screen asks of the launcher: to come back when the screen gives way to it.
class ScreenExit {
 public:
  virtual ~ScreenExit() = default;
  virtual void ShowLauncher() = 0;  // the launcher's activation (a harvest) follows
};

}  // namespace corvane
