#pragma once
// The local date and time, as the A record carries them, and the milliseconds since the system
// started, which input messages are stamped with.
#include <cstdint>

namespace corvane {

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
  // Milliseconds since the system started; its low 32 bits are the time of an input message.
  virtual std::uint64_t Ticks() const = 0;
};

}  // namespace corvane
