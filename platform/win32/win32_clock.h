#pragma once
// The local time from GetLocalTime, the ticks from GetTickCount64.
#include <windows.h>

#include "platform/clock.h"

namespace corvane {

class Win32Clock : public Clock {
 public:
  LocalTime Now() const override;
  std::uint64_t Ticks() const override;
};

}  // namespace corvane
