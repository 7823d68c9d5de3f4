#include "platform/win32/win32_text.h"

namespace corvane {

std::string Win32Text::ToAnsi(const std::wstring& text) const {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  // No best fit: a character the code page lacks becomes '?', never a look-alike letter.
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, "?", nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length, "?", nullptr);
  return bytes;
}

std::wstring Win32Text::FromAnsi(const std::string& bytes) const {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
  return text;
}

wchar_t Win32Text::ToUpper(wchar_t c) const {
  wchar_t upper = c;
  LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, &c, 1, &upper, 1);
  return upper;
}

}  // namespace corvane
