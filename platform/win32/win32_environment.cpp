#include "platform/win32/win32_environment.h"

namespace corvane {

std::wstring Win32Environment::Variable(const std::wstring& name) const {
  // Windows compares variable names without regard to case.
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), size);
  value.resize(length);
  return value;
}

}  // namespace corvane
