#pragma once
// The system ANSI code page and the system locale's upper-case mapping.
#include <windows.h>

#include <string>

#include "platform/text.h"

namespace corvane {

class Win32Text : public TextPlatform {
 public:
  std::string ToAnsi(const std::wstring& text) const override;
  std::wstring FromAnsi(const std::string& bytes) const override;
  wchar_t ToUpper(wchar_t c) const override;
};

}  // namespace corvane
