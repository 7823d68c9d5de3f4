#pragma once
// Starting a program with CreateProcessW.
#include <windows.h>

#include <string>

#include "platform/program_starter.h"

namespace corvane {

class Win32ProgramStarter : public ProgramStarter {
 public:
  void Start(const std::wstring& path) override;
};

}  // namespace corvane
