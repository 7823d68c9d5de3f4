#pragma once
// Conversions between the in-memory Unicode text and the single-byte ANSI code page used by
// files and by other programs' windows, and the system locale's upper-case mapping.
#include <string>

namespace corvane {

class TextPlatform {
 public:
  virtual ~TextPlatform() = default;
  // Unicode to the ANSI code page; a character the code page cannot hold becomes '?' (no
  // best-fit: a wrong letter in a patient's name is worse than a '?'). Both conversions throw
  // LinkError when the system cannot convert: a text is never silently lost.
  virtual std::string ToAnsi(const std::wstring& text) const = 0;
  virtual std::wstring FromAnsi(const std::string& bytes) const = 0;
  // Upper-cases one character as the system locale does; characters without a capital stay.
  virtual wchar_t ToUpper(wchar_t c) const = 0;
};

// How WideCharToMultiByte is asked to convert into a code page. Single-byte code pages get no
// best fit and '?' for what they lack; UTF-8, UTF-7, GB18030, HZ, ISO-2022, ISCII and Symbol
// take neither: Windows rejects any flag and any default character for them (the call fails),
// and they need none, as they hold every character or have no best fit of their own.
struct AnsiConversion {
  unsigned long flags = 0;            // dwFlags: kNoBestFitChars or 0
  const char* defaultChar = nullptr;  // lpDefaultChar: "?" or null
};
inline constexpr unsigned long kNoBestFitChars = 0x400;  // WC_NO_BEST_FIT_CHARS
AnsiConversion AnsiConversionFor(unsigned codePage);

// Windows-1252 and a Latin-1 case table that agrees with Windows on every Latin-1 letter
// (including ÿ to Ÿ, whose capital lies outside Latin-1). Used by native builds and tests.
class PortableText : public TextPlatform {
 public:
  std::string ToAnsi(const std::wstring& text) const override;
  std::wstring FromAnsi(const std::string& bytes) const override;
  wchar_t ToUpper(wchar_t c) const override;
};

}  // namespace corvane
