#pragma once
// Reading the patient now shown by the practice program, as every command but the two
// questions does first.
#include "link/link_state.h"
#include "platform/platform.h"

namespace corvane {

// Loads the link settings, finds the practice window and harvests every descendant into the
// patient record (a new harvest: PatientRecord::BeginHarvest, and CompleteHarvest when the
// window was found and read to the end). Throws LinkError when the settings cannot be loaded
// or the practice program does not answer.
void ReadPatientFields(SharedState& state, const LinkPaths& paths, Platform& platform);

// ReadPatientFields for a user's command: a failure is reported in a box and false returned,
// and the command is abandoned. Whatever the harvest stored before it stopped stays.
bool HarvestAndReport(SharedState& state, const LinkPaths& paths, Platform& platform);

// Hands the record's values to hand off now (PatientRecord::ValuesToHandOff) to LignesCreees,
// then, only when the files were written, starts the X-ray program without waiting. A
// failure to start it is shown in a message box. Returns true when the program was started.
bool LaunchSidexis(SharedState& state, const LinkPaths& paths, Platform& platform);

// The diagnostic of Ctrl + right click: reads (and frames) the Visiodent title alone.
void TestFunction(SharedState& state, Platform& platform);

}  // namespace corvane
