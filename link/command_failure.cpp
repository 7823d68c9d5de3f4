#include "link/command_failure.h"

namespace corvane {

std::wstring FailureText(const LinkError& error) {
  if (!error.Report().empty()) return error.Report();
  return error.Description() + L"\n\nErreur N° " + std::to_wstring(error.Number());
}

}  // namespace corvane
