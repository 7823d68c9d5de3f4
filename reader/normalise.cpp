#include "reader/normalise.h"

#include "platform/text.h"
#include "reader/patient_record.h"

namespace corvane {
namespace {

// Sidexis matches first names without accents. Each accented small letter becomes the plain
// capital of its own base letter; é, ù and É follow the same rule (é is the commonest accent
// in French first names, so leaving it would be the worst omission). Capitals other than É
// are left alone: a name typed with À or Ç keeps it.
wchar_t Fold(wchar_t c) {
  switch (c) {
    case L'à': case L'â': case L'ä': return L'A';
    case L'ç': return L'C';
    case L'è': case L'é': case L'ê': case L'ë': case L'É': return L'E';
    case L'î': case L'ï': return L'I';
    case L'ô': case L'ö': return L'O';
    case L'ù': case L'û': case L'ü': return L'U';
    case L'ÿ': return L'Y';
    default: return c;
  }
}

std::wstring UpperCase(std::wstring text, const TextPlatform& platformText) {
  for (wchar_t& c : text) c = platformText.ToUpper(c);
  return text;
}

}  // namespace

std::wstring NormaliseField(Field field, const std::wstring& text, const TextPlatform& platformText) {
  switch (field) {
    case Field::Civilite:
      // The practice program may show the form of address followed by a TAB and more columns.
      return text.substr(0, text.find(L'\t'));
    case Field::Nom:
      return UpperCase(text, platformText);
    case Field::NumSS: {
      std::wstring digits;
      for (wchar_t c : text) {
        if (c != L' ') digits.push_back(c);
      }
      return digits;
    }
    case Field::Prenom: {
      std::wstring folded = text;
      for (wchar_t& c : folded) c = Fold(c);
      return UpperCase(std::move(folded), platformText);
    }
    default:
      return text;
  }
}

}  // namespace corvane
