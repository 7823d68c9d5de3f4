#pragma once
// The system ANSI code page and the system locale's upper-case mapping.
#include <windows.h>

#include <string>

#include "platform/text.h"

namespace corvane {

// The system ANSI code page as GetACP gives it (65001 on a system set to UTF-8), with the
// conversion options that code page accepts.
class Win32Text : public TextPlatform {
 public:
  Win32Text();
  std::string ToAnsi(const std::wstring& text) const override;
  std::wstring FromAnsi(const std::string& bytes) const override;
  wchar_t ToUpper(wchar_t c) const override;

 private:
  UINT codePage_;
};

}  // namespace corvane
