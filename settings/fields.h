#pragma once
// The patient fields and the link settings entries that name their controls: the words the
// settings, the reader, the finder and the screens share.
namespace corvane {

// Field n is fed from link settings entry n.
enum class Field : int {
  Adresse1 = 1, Adresse2, Adresse3, Civilite, CP, DateNaissance, EMail,
  Mobile, Nom, NumDossier, NumSS, Prenom, Telephone, Ville
};
inline constexpr int kFieldCount = 14;

constexpr Field FieldOfEntry(int entry) { return static_cast<Field>(entry); }
constexpr int EntryOf(Field field) { return static_cast<int>(field); }

// After the 14 field entries: whether a click shows the launch screen, then the practice
// window's class and title.
inline constexpr int kEntryCount = 17;
inline constexpr int kEntryShowScreenFlag = 15;
inline constexpr int kEntryPracticeClass = 16;
inline constexpr int kEntryPracticeTitle = 17;

}  // namespace corvane
