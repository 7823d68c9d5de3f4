#include "link/command_gate.h"

namespace corvane {
namespace {

// A message time (32 bits, wrapping every 49.7 days) on the 64-bit tick line, within 24.8 days
// of `now` either way (an input clock may run a little ahead of the tick count).
std::uint64_t TickOf(std::uint32_t time, std::uint64_t now) {
  const auto age = static_cast<std::int32_t>(static_cast<std::uint32_t>(now) - time);
  return now - static_cast<std::uint64_t>(static_cast<std::int64_t>(age));
}

}  // namespace

CommandGate::Command::~Command() {
  if (gate_ == nullptr) return;
  gate_->running_ = false;
  gate_->lastEnd_ = clock_.Ticks();
}

CommandGate::Command CommandGate::Admit(const Press& press, const Clock& clock) {
  // The tick count moves in steps of up to 16 ms: a press stamped with the tick at which the
  // last command ended was made while it ran, or too soon after it to be a new decision.
  const bool madeBeforeTheEnd = press.time && lastEnd_ && TickOf(*press.time, clock.Ticks()) <= *lastEnd_;
  if (running_ || press.kind == PressKind::SecondOfDouble || madeBeforeTheEnd) return Command(nullptr, clock);
  running_ = true;
  return Command(this, clock);
}

}  // namespace corvane
