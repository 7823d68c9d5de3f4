#pragma once
// One press, one command: the launcher's clicks and the screen's buttons all pass one gate, so
// that the second press of a double click, a press made while a command ran (a practice program
// slow to answer, a box waiting for OK) and a press a box's loop hands over in the middle of a
// command do nothing.
#include <cstdint>
#include <optional>

#include "platform/clock.h"

namespace corvane {

enum class PressKind { Single, SecondOfDouble };

// A press of the user's as the window received it.
struct Press {
  PressKind kind = PressKind::Single;
  // When the press was made, in the low 32 bits of Clock::Ticks (the message time). None: now.
  std::optional<std::uint32_t> time;
};

class CommandGate {
 public:
  // The command a press was let through for; the gate stays closed until it goes, and the
  // moment it goes is the end that later presses are measured against.
  class Command {
   public:
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;
    ~Command();
    explicit operator bool() const { return gate_ != nullptr; }

   private:
    friend class CommandGate;
    Command(CommandGate* gate, const Clock& clock) : gate_(gate), clock_(clock) {}
    CommandGate* gate_;
    const Clock& clock_;
  };

  // A command for `press`, or a false one when the press is to be dropped: the second press of
  // a double click, a press while a command runs, a press made no later than the last command's end.
  [[nodiscard]] Command Admit(const Press& press, const Clock& clock);

 private:
  bool running_ = false;
  std::optional<std::uint64_t> lastEnd_;
};

}  // namespace corvane
