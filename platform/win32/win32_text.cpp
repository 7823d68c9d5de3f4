#include "platform/win32/win32_text.h"

#include "platform/link_error.h"
#include "texts/system_texts.h"

namespace corvane {
namespace {

static_assert(kNoBestFitChars == WC_NO_BEST_FIT_CHARS);

// A conversion the system refused: reported, never turned into an empty text that a save or a
// hand-off would then write as if all were well.
LinkError ConversionFailure(const wchar_t* direction, UINT codePage) {
  const DWORD error = GetLastError();
  return LinkError(kConversionStart + std::wstring(direction) + kConversionCodePage + std::to_wstring(codePage) +
                       kConversionSystemError + std::to_wstring(error) + L")",
                   error_number::kTextConversion);
}

}  // namespace

Win32Text::Win32Text() : codePage_(GetACP()) {}

std::string Win32Text::ToAnsi(const std::wstring& text) const {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const AnsiConversion how = AnsiConversionFor(codePage_);
  const int length = WideCharToMultiByte(codePage_, how.flags, text.data(), size, nullptr, 0, how.defaultChar, nullptr);
  if (length <= 0) throw ConversionFailure(kConversionTo, codePage_);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(codePage_, how.flags, text.data(), size, bytes.data(), length, how.defaultChar, nullptr) !=
      length) {
    throw ConversionFailure(kConversionTo, codePage_);
  }
  return bytes;
}

std::wstring Win32Text::FromAnsi(const std::string& bytes) const {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage_, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) throw ConversionFailure(kConversionFrom, codePage_);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(codePage_, 0, bytes.data(), size, text.data(), length) != length) {
    throw ConversionFailure(kConversionFrom, codePage_);
  }
  return text;
}

wchar_t Win32Text::ToUpper(wchar_t c) const {
  wchar_t upper = c;
  LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, &c, 1, &upper, 1);
  return upper;
}

}  // namespace corvane
