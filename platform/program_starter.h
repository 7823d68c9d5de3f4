#pragma once
// Starting another program (the X-ray program).
#include <string>

namespace corvane {

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts the program, no arguments, as a normal window with the focus, without waiting.
  // Throws LinkError with the system's error text and number when it cannot be started.
  virtual void Start(const std::wstring& path) = 0;
};

}  // namespace corvane
