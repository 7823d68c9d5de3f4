#pragma once
// What the launcher's presenter asks of its window, and what the screen asks of the launcher.

namespace corvane {

class LauncherView {
 public:
  virtual ~LauncherView() = default;
  virtual void Show() = 0;  // shows the launcher; its activation (a harvest) follows
  virtual void Hide() = 0;
  // Into the foreground and the topmost band, without moving, sizing or activating it.
  virtual void BringToTop() = 0;
  virtual void Quit() = 0;  // ends the program at once
};

}  // namespace corvane
