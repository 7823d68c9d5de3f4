#include "platform/text.h"

#include <array>

namespace corvane {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<wchar_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ByteOf(wchar_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  // The five bytes the code page leaves undefined come back from their C1 control, as on Windows.
  if (c <= 0x9F && kHighControls[c - 0x80] == 0) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

AnsiConversion AnsiConversionFor(unsigned codePage) {
  const bool takesNoOptions = codePage == 42 || (codePage >= 50220 && codePage <= 50229) || codePage == 52936 ||
                              codePage == 54936 || (codePage >= 57002 && codePage <= 57011) || codePage == 65000 ||
                              codePage == 65001;
  if (takesNoOptions) return {};
  return {kNoBestFitChars, "?"};
}

std::string PortableText::ToAnsi(const std::wstring& text) const {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes.push_back(ByteOf(c));
  return bytes;
}

std::wstring PortableText::FromAnsi(const std::string& bytes) const {
  std::wstring text;
  text.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b <= 0x9F) {
      // Windows maps the undefined bytes to the C1 control of the same value.
      const wchar_t mapped = kHighControls[b - 0x80];
      text.push_back(mapped != 0 ? mapped : static_cast<wchar_t>(b));
    } else {
      text.push_back(static_cast<wchar_t>(b));
    }
  }
  return text;
}

wchar_t PortableText::ToUpper(wchar_t c) const {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
  switch (c) {
    case 0xFF: return 0x0178;    // ÿ
    case 0x0192: return 0x0191;  // ƒ
    case 0x0161: return 0x0160;  // š
    case 0x0153: return 0x0152;  // œ
    case 0x017E: return 0x017D;  // ž
    default: return c;
  }
}

}  // namespace corvane
