#pragma once
// The hand-off to the X-ray program: the two records, the two files, the start.
#include <string>

#include "handoff/handoff_values.h"
#include "platform/platform.h"

namespace corvane {

struct HandOffFiles {
  std::wstring siomin;
  std::wstring siomin2;
};

inline constexpr wchar_t kMissingFileNumber[] =
    L"Il manque le numéro de dossier du patient : rien n'a été transmis à Sidexis.\n\nAffichez la fiche du "
    L"patient dans le logiciel de gestion du cabinet, ou refaites le paramétrage de « Numéro de Dossier » "
    L"(Ctrl + clic sur la dent).";
inline constexpr wchar_t kMissingName[] =
    L"Il manque le nom du patient : rien n'a été transmis à Sidexis.\n\nAffichez la fiche du patient dans le "
    L"logiciel de gestion du cabinet, ou refaites le paramétrage de « Nom » (Ctrl + clic sur la dent).";

// Checks that the first name, the file number and the name are there, builds both records,
// checks them, then writes them to both files, both or neither. Throws LinkError: a missing
// field (error_number::kHandOffRefused, the message alone, nothing written) or a failure, in
// the hand-off's own form ("… Erreur N° <number> dans LignesCreees."; the message says what
// became of the files). `practiceTitle` chooses the wording of the missing-first-name message.
void WriteHandOffFiles(const HandOffValues& values, const std::wstring& practiceTitle, const HandOffFiles& files,
                       Platform& platform);

}  // namespace corvane
