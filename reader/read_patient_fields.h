#pragma once
// Locating the practice window and harvesting the patient record from it.
#include <string>

#include "app/shared_state.h"
#include "platform/platform.h"

namespace corvane {

// Loads the link settings, finds the practice window and harvests every descendant into the
// patient record (starting a new harvest: PatientRecord::BeginHarvest). Throws LinkError when
// the settings cannot be loaded or the practice program does not answer; the command that
// asked for the harvest is then abandoned by its caller.
void ReadPatientFields(SharedState& state, const LinkPaths& paths, Platform& platform);

// The title of the first top-level "FENETRE_VISIODENT32" window when it begins with
// "VISIODE", else empty. Reads it through CaptureWindowText (into Temp, toggling the frame).
std::wstring CurrentVisiodentTitle(SharedState& state, Platform& platform);

// The diagnostic of Ctrl + right click: runs CurrentVisiodentTitle alone.
void TestFunction(SharedState& state, Platform& platform);

}  // namespace corvane
