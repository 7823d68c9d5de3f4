#pragma once
// The patient record: the 14 fields read from the practice program (or typed on the
// screen), plus the two shared text values Temp and Application.
#include <array>
#include <cstdint>
#include <string>

namespace corvane {

// Field n is fed from link settings entry n.
enum class Field : int {
  Adresse1 = 1, Adresse2, Adresse3, Civilite, CP, DateNaissance, EMail,
  Mobile, Nom, NumDossier, NumSS, Prenom, Telephone, Ville
};
inline constexpr int kFieldCount = 14;

constexpr Field FieldOfEntry(int entry) { return static_cast<Field>(entry); }
constexpr int EntryOf(Field field) { return static_cast<int>(field); }

// The five values handed to the X-ray program, in the order they are passed on.
struct HandOffValues {
  std::wstring nom;
  std::wstring prenom;
  std::wstring dateNaissance;
  std::wstring numDossier;
  std::wstring numSS;
  friend bool operator==(const HandOffValues&, const HandOffValues&) = default;
};

inline constexpr wchar_t kTempInitialText[] = L"Valeurs pour lecture";

class PatientRecord {
 public:
  const std::wstring& Value(Field field) const;

  // A harvest starts: what earlier harvests stored stays shown but is no longer current.
  void BeginHarvest();
  // The harvest just begun read this value from the practice program.
  void StoreHarvested(Field field, std::wstring value);
  // The user typed this value into the field's box on the screen: it counts until a later
  // harvest finds the field's control.
  void StoreTyped(Field field, std::wstring value);
  // Empties a field (the screen's reset).
  void Clear(Field field);

  // The values to hand off now: a field counts only when the last harvest read it or the
  // user typed it; a value left over from an earlier harvest counts as empty, so a patient
  // who is no longer on screen is never handed off.
  HandOffValues ValuesToHandOff() const;

  // Back to the state of a screen just built: empty fields, Temp and Application as designed.
  void ResetToDesignTime();

  std::wstring temp = kTempInitialText;  // receives every text read from another program
  std::wstring application;              // class captured by the last file-number drop

 private:
  enum class Origin : std::uint8_t { None, Harvested, Typed };
  struct Slot {
    std::wstring value;
    Origin origin = Origin::None;
    std::uint64_t harvest = 0;  // which harvest stored it, when harvested
  };
  bool IsCurrent(Field field) const;
  Slot& SlotOf(Field field);
  const Slot& SlotOf(Field field) const;

  std::array<Slot, kFieldCount> slots_;
  std::uint64_t currentHarvest_ = 0;
};

}  // namespace corvane
