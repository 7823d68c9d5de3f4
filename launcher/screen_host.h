#pragma once
// What the launcher asks of the configuration screen, which is built on first use.

namespace corvane {

class ScreenHost {
 public:
  virtual ~ScreenHost() = default;
  // Shows the screen modeless, building it first when it does not exist; it reads the
  // screen mode and runs its activation.
  virtual void ShowScreen() = 0;
  // The screen, when it exists, shows the patient record's fields again.
  virtual void RefreshFields() = 0;
};

}  // namespace corvane
