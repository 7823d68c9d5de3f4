#pragma once
// Conversions between the in-memory Unicode text and the single-byte ANSI code page used by
// files and by other programs' windows, and the system locale's upper-case mapping.
#include <string>

namespace corvane {

class TextPlatform {
 public:
  virtual ~TextPlatform() = default;
  // Unicode to the ANSI code page, one byte per character; a character the code page cannot
  // hold becomes '?' (no best-fit: a wrong letter in a patient's name is worse than a '?').
  virtual std::string ToAnsi(const std::wstring& text) const = 0;
  virtual std::wstring FromAnsi(const std::string& bytes) const = 0;
  // Upper-cases one character as the system locale does; characters without a capital stay.
  virtual wchar_t ToUpper(wchar_t c) const = 0;
};

// Windows-1252 and a Latin-1 case table that agrees with Windows on every Latin-1 letter
// (including ÿ to Ÿ, whose capital lies outside Latin-1). Used by native builds and tests.
class PortableText : public TextPlatform {
 public:
  std::string ToAnsi(const std::wstring& text) const override;
  std::wstring FromAnsi(const std::string& bytes) const override;
  wchar_t ToUpper(wchar_t c) const override;
};

}  // namespace corvane
