#include "link/read_patient_fields.h"

#include "handoff/handoff.h"
#include "reader/harvest.h"

namespace corvane {

void ReadPatientFields(SharedState& state, const LinkPaths& paths, Platform& platform) {
  // First, before anything can stop the run: a run that finds nothing must leave the earlier
  // values shown but stale, so that a patient no longer on screen is never handed off.
  state.patient.BeginHarvest();
  state.settingsLoadFailed = true;
  LoadLinkSettings(state.settings, paths.settings, platform.files, platform.text);
  state.settingsLoadFailed = false;
  state.lastLoaded = state.settings;
  if (!LocatePracticeWindow(state.settings, state.practice, platform.windows, platform.gdi, platform.text)) return;
  // Each field is read in turn: a practice program that moves to the next patient between two
  // reads would give one record of two patients. The handed-off fields are read once more, and
  // the whole reading made again once when they changed.
  for (int reading = 1;; ++reading) {
    const HarvestSources sources =
        HarvestPracticeWindow(state.practice, state.settings, state.patient, platform.windows, platform.text);
    if (HandedOffFieldsUnchanged(sources, state.patient, platform.windows, platform.text)) break;
    if (reading == 2) throw PatientChangedDuringReading();
    state.patient.RestartHarvest();
  }
  state.patient.CompleteHarvest();
}

bool HarvestAndReport(SharedState& state, const LinkPaths& paths, Platform& platform) {
  try {
    ReadPatientFields(state, paths, platform);
    return true;
  } catch (const LinkError& error) {
    platform.messages.Inform(CommandFailureText(error));
    return false;
  }
}

bool LaunchSidexis(SharedState& state, const LinkPaths& paths, Platform& platform) {
  const HandOffValues values = state.patient.ValuesToHandOff();
  if (LignesCreees(values, state.practice.title, {paths.siomin, paths.siomin2}, platform) != HandOffResult::Written) {
    return false;
  }
  try {
    platform.programs.Start(paths.sidexisProgram);
    return true;
  } catch (const LinkError& error) {
    platform.messages.Inform(StartFailureText(paths.sidexisProgram, error));
  }
  return false;
}

void TestFunction(SharedState& state, Platform& platform) {
  CurrentVisiodentTitle(platform.windows, platform.gdi, platform.text, state.practice.lastTextRead);
}

}  // namespace corvane
