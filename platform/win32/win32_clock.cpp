#include "platform/win32/win32_clock.h"

namespace corvane {

LocalTime Win32Clock::Now() const {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::uint64_t Win32Clock::Ticks() const {
  return GetTickCount64();
}

}  // namespace corvane
