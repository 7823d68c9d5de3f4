#include "link/read_patient_fields.h"

#include "handoff/handoff.h"
#include "link/command_failure.h"
#include "reader/harvest.h"

namespace corvane {
namespace {

// What the system said about a start that failed: the part of the description after the
// quoted path when there is one ("Impossible de ... « path » : reason"), else all of it.
std::wstring StartFailureReason(const std::wstring& description) {
  const std::wstring marker = L" » : ";
  const std::size_t at = description.rfind(marker);
  return WithoutFinalStop(at == std::wstring::npos ? description : description.substr(at + marker.size()));
}

}  // namespace

LinkError StartFailure(const std::wstring& program, const LinkError& error) {
  return LinkError(error.Description(), error.Number(),
                   L"Impossible de démarrer Sidexis (" + program + L") : " + StartFailureReason(error.Description()) +
                       L" (erreur N° " + std::to_wstring(error.Number()) + L").");
}

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
        HarvestPracticeWindow(state.practice, state.settings, state.patient, platform.windows, platform.accessibility,
                              platform.text);
    if (HandedOffFieldsUnchanged(sources, state.patient, platform.windows, platform.accessibility, platform.text)) {
      break;
    }
    if (reading == 2) throw PatientChangedDuringReading();
    state.patient.RestartHarvest();
  }
  state.patient.CompleteHarvest();
}

bool HarvestAndReport(SharedState& state, const LinkPaths& paths, Platform& platform) {
  return RunShowingFailure(platform.messages, [&] { ReadPatientFields(state, paths, platform); });
}

void LaunchSidexis(SharedState& state, const LinkPaths& paths, Platform& platform) {
  WriteHandOffFiles(state.patient.ValuesToHandOff(), state.practice.title, {paths.siomin, paths.siomin2}, platform);
  try {
    platform.programs.Start(paths.sidexisProgram);
  } catch (const LinkError& error) {
    throw StartFailure(paths.sidexisProgram, error);
  }
}

void DiagnoseVisiodentTitle(SharedState& state, Platform& platform) {
  CurrentVisiodentTitle(platform.windows, platform.gdi, platform.text, state.practice.lastTextRead);
}

}  // namespace corvane
