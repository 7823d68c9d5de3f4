#include "handoff/handoff.h"

#include <exception>
#include <memory>

#include "handoff/handoff_records.h"
#include "platform/link_error.h"

namespace corvane {
namespace {

inline constexpr wchar_t kPracticeTitleWithTabs[] = L"Fiche d'état civil";

// Nothing is handed off: the message alone, as the user reads it.
LinkError Refusal(const std::wstring& message) {
  return LinkError(message, error_number::kHandOffRefused, message);
}

// A failure of the hand-off, in its own form.
LinkError HandOffFailure(const LinkError& error) {
  return LinkError(error.Description(), error.Number(),
                   WithoutFinalStop(error.Description()) + L". Erreur N° " + std::to_wstring(error.Number()) +
                       L" dans LignesCreees.");
}

}  // namespace

void WriteHandOffFiles(const HandOffValues& values, const std::wstring& practiceTitle, const HandOffFiles& files,
                       Platform& platform) {
  try {
    CheckFileNumber(values.numDossier);
    if (IsBlankField(values.prenom)) {
      // On that practice program the first name sits on a tab the user may not have opened.
      // The title as the finder stores it ends with a NUL, which the window lookup ignores;
      // compare it the same way, or the tab hint could never show.
      const std::wstring shownTitle = practiceTitle.substr(0, practiceTitle.find(L'\0'));
      throw Refusal(shownTitle == kPracticeTitleWithTabs
                        ? L"Il manque le prénom ou l'Application, ou bien vous devez cliquer sur l'onglet "
                          L"'Sécurité Sociale-Mutuelle'."
                        : L"Il manque le prénom ou l'Application.");
    }
    // Without its file number the images would go to a patient that does not exist; without
    // the name, to every patient of that first name.
    for (const auto& [value, missing] :
         {std::pair{&values.numDossier, kMissingFileNumber}, {&values.nom, kMissingName}}) {
      if (IsBlankField(*value)) throw Refusal(missing);
    }
    // Everything that can be refused is built before a file is opened, so a refusal leaves
    // the previous hand-off whole.
    const HandOffRecords records = BuildHandOffRecords(values, platform.environment.Variable(L"computername"),
                                                       platform.clock.Now(), platform.text);
    const std::string bytes = records.n + records.a;
    // Written in place, as the X-ray program may hold them open, and both or neither: the
    // X-ray program must never read one patient in one file and another in the other.
    WriteBothOrNeither(platform.files, files.siomin, files.siomin2, bytes, PairWrite::InPlace);
  } catch (const LinkError& error) {
    if (error.Number() == error_number::kHandOffRefused) throw;
    throw HandOffFailure(error);
  } catch (const std::exception&) {
    throw HandOffFailure(LinkError(L"Erreur interne inattendue", 0));
  }
}

}  // namespace corvane
