#pragma once
// Reading the patient now shown by the practice program, as every command but the two
// questions does first.
#include "link/link_state.h"
#include "platform/link_error.h"
#include "platform/platform.h"

namespace corvane {

// Loads the link settings, finds the practice window and harvests every descendant into the
// patient record (a new harvest: PatientRecord::BeginHarvest, and CompleteHarvest when the
// window was found and read to the end). Throws LinkError when the settings cannot be loaded
// or the practice program does not answer.
void ReadPatientFields(SharedState& state, const LinkPaths& paths, Platform& platform);

// ReadPatientFields for a user's command: a failure is shown (RunShowingFailure) and false
// returned, and the command is abandoned. Whatever the harvest stored before it stopped stays.
bool HarvestAndReport(SharedState& state, const LinkPaths& paths, Platform& platform);

// Writes the hand-off files from the record's values to hand off now
// (PatientRecord::ValuesToHandOff), then starts the X-ray program without waiting. Throws
// LinkError, each in its own form: a refusal or a failure of the hand-off (the program is
// not started), or StartFailure.
void LaunchSidexis(SharedState& state, const LinkPaths& paths, Platform& platform);

// A start of the X-ray program at `program` that failed, as the user reads it:
// "Impossible de démarrer Sidexis (<program>) : <the system's reason> (erreur N° <number>)."
LinkError StartFailure(const std::wstring& program, const LinkError& error);

// The diagnostic of Ctrl + right click: reads (and frames) the Visiodent title alone.
void DiagnoseVisiodentTitle(SharedState& state, Platform& platform);

}  // namespace corvane
