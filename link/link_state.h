#pragma once
// The one state object of the link, created by app/; each part is handed to the code that
// uses it. A test builds its own.
#include <cstdint>
#include <optional>
#include <string>

#include "finder/finder_state.h"
#include "link/command_gate.h"
#include "platform/types.h"
#include "reader/patient_record.h"
#include "practice/practice_window.h"
#include "settings/link_settings.h"

namespace corvane {

// The fixed files of the link; app/ gives the real ones, tests point them at a folder of theirs.
struct LinkPaths {
  SettingsPaths settings;
  std::wstring siomin;
  std::wstring siomin2;
  std::wstring sidexisProgram;
};

// How the launcher asks the screen to present itself: Normal (launch mode: the harvested
// fields and "LANCER") or Configuration (the finder boxes and "VALIDER").
enum class ScreenMode { Normal, Configuration };

struct SharedState {
  LinkSettings settings;
  PatientRecord patient;
  ScreenMode screenMode = ScreenMode::Normal;
  PracticeWindow practice;
  FinderState finder;
  // Whether the last load of the settings files failed, and the table the last one that
  // succeeded in this run gave: what a configuration opened after a failure starts from.
  bool settingsLoadFailed = false;
  std::optional<LinkSettings> lastLoaded;
  CommandGate commands;  // the launcher's clicks and the screen's buttons
};

}  // namespace corvane
