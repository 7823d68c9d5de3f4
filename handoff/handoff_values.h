#pragma once
// What the hand-off takes: the five patient values the X-ray program receives.
#include <string>

namespace corvane {

// The five values handed to the X-ray program, in the order they are passed on.
struct HandOffValues {
  std::wstring nom;
  std::wstring prenom;
  std::wstring dateNaissance;
  std::wstring numDossier;
  std::wstring numSS;
  friend bool operator==(const HandOffValues&, const HandOffValues&) = default;
};

}  // namespace corvane
