#include "platform/link_error.h"

namespace corvane {
namespace {

// The system's texts often end in a full stop; the report adds its own punctuation.
std::wstring WithoutFinalStop(std::wstring text) {
  while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) text.pop_back();
  return text;
}

// What the system said about a start that failed: the part of the description after the
// quoted path when there is one ("Impossible de ... « path » : reason"), else all of it.
std::wstring StartFailureReason(const std::wstring& description) {
  const std::wstring marker = L" » : ";
  const std::size_t at = description.rfind(marker);
  return WithoutFinalStop(at == std::wstring::npos ? description : description.substr(at + marker.size()));
}

}  // namespace

LinkError ShortWrite(const std::wstring& path, std::size_t written, std::size_t wanted) {
  return LinkError(L"Écriture incomplète du fichier « " + path + L" » : " + std::to_wstring(written) +
                       L" octets écrits sur " + std::to_wstring(wanted) + L" (le disque est peut-être plein)",
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

std::wstring CommandFailureText(const LinkError& error) {
  return error.Description() + L"\n\nErreur N° " + std::to_wstring(error.Number());
}

std::wstring HandOffFailureText(const LinkError& error) {
  return WithoutFinalStop(error.Description()) + L". Erreur N° " + std::to_wstring(error.Number()) +
         L" dans LignesCreees.";
}

std::wstring StartFailureText(const std::wstring& program, const LinkError& error) {
  return L"Impossible de démarrer Sidexis (" + program + L") : " + StartFailureReason(error.Description()) +
         L" (erreur N° " + std::to_wstring(error.Number()) + L").";
}

}  // namespace corvane
