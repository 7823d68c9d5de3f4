#pragma once
// The hand-off to the X-ray program: the two records, the two files, the start.
#include <string>

#include "link/link_state.h"
#include "platform/platform.h"
#include "reader/patient_record.h"

namespace corvane {

enum class HandOffResult {
  Written,           // both files hold the N and the A record
  FirstNameMissing,  // the message was shown; nothing written
  Failed,            // the failure was shown (" dans LignesCreees."); see the files' state
};

struct HandOffFiles {
  std::wstring siomin;
  std::wstring siomin2;
};

// Builds both records, checks them, then writes them to both files. Shows its own messages
// (missing first name, failure) and never throws. `practiceTitle` chooses the wording of the
// missing-first-name message.
HandOffResult LignesCreees(const HandOffValues& values, const std::wstring& practiceTitle, const HandOffFiles& files,
                           Platform& platform);

// Hands the record's values to hand off now (PatientRecord::ValuesToHandOff) to LignesCreees,
// then, only when the files were written, starts the X-ray program without waiting. A
// failure to start it is shown in a message box. Returns true when the program was started.
bool LaunchSidexis(SharedState& state, const LinkPaths& paths, Platform& platform);

}  // namespace corvane
