#pragma once
// The texts the user reads that the platform layer reports: what a file operation or the
// system failed to do, and the titles of the boxes that give no title of their own. The
// texts of the link's own steps live with those steps.
namespace corvane {

// The title of a box that gives no title of its own.
inline constexpr wchar_t kApplicationTitle[] = L"Tarnwick";
// The link's name: the launcher's caption, and the title of a box about the link itself.
inline constexpr wchar_t kLinkName[] = L"Corvane Link";

// A file operation that failed: "<what> « <path> »", then the system's reason when it gives one.
namespace file_failure {
inline constexpr wchar_t kCreate[] = L"Impossible de créer le fichier";
inline constexpr wchar_t kOpen[] = L"Impossible d'ouvrir le fichier";
inline constexpr wchar_t kWrite[] = L"Impossible d'écrire dans le fichier";
inline constexpr wchar_t kClose[] = L"Impossible de fermer le fichier";
inline constexpr wchar_t kRead[] = L"Impossible de lire le fichier";
inline constexpr wchar_t kRemove[] = L"Impossible de supprimer le fichier";
inline constexpr wchar_t kReplace[] = L"Impossible de remplacer le fichier";
inline constexpr wchar_t kNotFound[] = L"Fichier introuvable";
}  // namespace file_failure

// A file that took fewer bytes than it was given: "Écriture incomplète du fichier « <path> » :
// <written> octets écrits sur <wanted> (le disque est peut-être plein)".
inline constexpr wchar_t kShortWriteStart[] = L"Écriture incomplète du fichier";
inline constexpr wchar_t kShortWriteBytes[] = L" octets écrits sur ";
inline constexpr wchar_t kShortWriteEnd[] = L" (le disque est peut-être plein)";

// What became of a pair of files after a failure.
inline constexpr wchar_t kNeitherFileChanged[] = L"Aucun des deux fichiers n'a été modifié";
inline constexpr wchar_t kPairWarning[] = L"Attention : ";
inline constexpr wchar_t kOneFileNotPutBack[] = L" a pu être modifié et n'a pas pu être remis";
inline constexpr wchar_t kAnd[] = L" et ";
inline constexpr wchar_t kTwoFilesNotPutBack[] = L" ont pu être modifiés et n'ont pas pu être remis";
inline constexpr wchar_t kAsBefore[] = L" comme avant";

// A program that could not be started: "<what> « <path> » : <the system's reason>".
inline constexpr wchar_t kCannotStartProgram[] = L"Impossible de démarrer le programme";

// A text the system could not convert: "Le système n'a pas pu convertir un texte <vers|depuis>
// la page de codes <page> (erreur système <number>)".
inline constexpr wchar_t kConversionStart[] = L"Le système n'a pas pu convertir un texte ";
inline constexpr wchar_t kConversionTo[] = L"vers";
inline constexpr wchar_t kConversionFrom[] = L"depuis";
inline constexpr wchar_t kConversionCodePage[] = L" la page de codes ";
inline constexpr wchar_t kConversionSystemError[] = L" (erreur système ";

// The system gave no text for its error number: "erreur système <number>".
inline constexpr wchar_t kSystemErrorNumber[] = L"erreur système ";

// A fault no one expected stopped a command in a window of the link; the program goes on.
inline constexpr wchar_t kUnexpectedFailure[] = L"Une erreur inattendue a interrompu la commande.";

}  // namespace corvane
