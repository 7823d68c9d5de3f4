#pragma once
// The one state object of the program, created by app/ and handed by reference to whoever
// needs it. A test builds its own.
#include <cstdint>
#include <string>

#include "platform/types.h"
#include "reader/patient_record.h"
#include "settings/link_settings.h"

namespace corvane {

// The fixed files of the link; app/ gives the real ones, tests point them at a folder of theirs.
struct LinkPaths {
  SettingsPaths settings;
  std::wstring siomin;
  std::wstring siomin2;
  std::wstring sidexisProgram;
};

inline constexpr wchar_t kScreenModeNormal[] = L"Normal";
inline constexpr wchar_t kScreenModeCtrl[] = L"Ctrl";

// The practice window as the last location found it.
struct PracticeWindow {
  std::wstring className;    // entry 16 as loaded
  std::wstring title;        // entry 17 as loaded, or the live Visiodent title
  std::wstring showScreen;   // entry 15 as loaded
  WindowHandle handle;       // the window found; also set by the file-number drop
};

// The finder's drag and the Edit ordinal count.
struct FinderState {
  bool dragging = false;
  WindowHandle picked;
  WindowHandle highlighted;
  WindowHandle ordinalTarget;
  std::int32_t editOrdinal = 0;
};

struct SharedState {
  LinkSettings settings;
  PatientRecord patient;
  std::wstring screenMode;
  PracticeWindow practice;
  FinderState finder;
};

}  // namespace corvane
