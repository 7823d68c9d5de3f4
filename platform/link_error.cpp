#include "platform/link_error.h"

#include "texts/system_texts.h"

namespace corvane {
namespace {

}  // namespace

std::wstring WithoutFinalStop(std::wstring text) {
  while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) text.pop_back();
  return text;
}

LinkError ShortWrite(const std::wstring& path, std::size_t written, std::size_t wanted) {
  return LinkError(std::wstring(kShortWriteStart) + L" « " + path + L" » : " + std::to_wstring(written) +
                       kShortWriteBytes + std::to_wstring(wanted) + kShortWriteEnd,
                   error_number::kShortWrite);
}

std::wstring FillSystemInserts(const std::wstring& text, const std::wstring& first) {
  const auto digit = [&](std::size_t at) { return at < text.size() && text[at] >= L'0' && text[at] <= L'9'; };
  std::wstring filled;
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] != L'%' || !digit(at + 1)) {
      filled += text[at++];
      continue;
    }
    std::size_t end = at + 1;
    while (digit(end)) ++end;
    const bool isFirst = text.compare(at + 1, end - at - 1, L"1") == 0;
    // An insert may carry its printf format: "%1!s!".
    if (end < text.size() && text[end] == L'!') {
      const std::size_t close = text.find(L'!', end + 1);
      if (close != std::wstring::npos) end = close + 1;
    }
    if (isFirst && !first.empty()) {
      filled += first;
    } else {
      while (!filled.empty() && filled.back() == L' ') filled.pop_back();
      // At the start of the text, the blanks after it go instead.
      if (filled.empty())
        while (end < text.size() && text[end] == L' ') ++end;
    }
    at = end;
  }
  return filled;
}

}  // namespace corvane
