#pragma once
// The local time from GetLocalTime.
#include <windows.h>

#include "platform/clock.h"

namespace corvane {

class Win32Clock : public Clock {
 public:
  LocalTime Now() const override;
};

}  // namespace corvane
