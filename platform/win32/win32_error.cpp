#include "platform/win32/win32_error.h"

#include "texts/system_texts.h"

namespace corvane {

std::wstring SystemErrorText(DWORD error, const std::wstring& insert) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 ? std::wstring(buffer, length) : kSystemErrorNumber + std::to_wstring(error);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  // The inserts are filled here, not by FormatMessage: an insert the caller cannot fill would
  // read memory that is not there.
  return FillSystemInserts(text, insert);
}

LinkError SystemFailure(const std::wstring& what, const std::wstring& path, DWORD error) {
  return LinkError(what + L" « " + path + L" » : " + SystemErrorText(error, path), static_cast<long>(error));
}

}  // namespace corvane
