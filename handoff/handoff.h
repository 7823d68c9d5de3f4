#pragma once
// The hand-off to the X-ray program: the two records, the two files, the start.
#include <string>

#include "handoff/handoff_values.h"
#include "platform/platform.h"

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

}  // namespace corvane
