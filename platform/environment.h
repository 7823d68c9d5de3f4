#pragma once
// The process environment (the computer name the A record carries).
#include <string>

namespace corvane {

class Environment {
 public:
  virtual ~Environment() = default;
  // The variable's value, its name compared without regard to case; empty when not set.
  virtual std::wstring Variable(const std::wstring& name) const = 0;
};

}  // namespace corvane
