#pragma once
// The one failure type of the program: a French description and a number.
#include <exception>
#include <string>

namespace corvane {

class LinkError : public std::exception {
 public:
  LinkError(std::wstring description, long number) : description_(std::move(description)), number_(number) {}

  const std::wstring& Description() const { return description_; }
  long Number() const { return number_; }
  const char* what() const noexcept override { return "LinkError"; }

 private:
  std::wstring description_;
  long number_;
};

// Numbers of the failures that the program itself detects (system failures carry the
// system's own error number instead). Kept apart from Win32 error codes, which stay below 16000.
namespace error_number {
inline constexpr long kFileNumberTooLong = 20001;   // file number does not fit the name field
inline constexpr long kRecordTooLong = 20002;       // a hand-off record would exceed 255 bytes
inline constexpr long kSettingsFileTooShort = 20003;  // Tech.txt holds fewer than 17 lines
inline constexpr long kPracticeNotAnswering = 20004;  // the practice program stopped answering
inline constexpr long kSettingsEntryHasLineBreak = 20005;  // a settings entry cannot be one line
inline constexpr long kShortWrite = 20006;                 // a file took fewer bytes than it was given
inline constexpr long kTextConversion = 20007;             // the system could not convert a text
inline constexpr long kPatientChangedDuringReading = 20008;  // two readings in a row mixed two patients
inline constexpr long kSettingsFileNotText = 20009;          // a settings file holds a NUL where text should be
}  // namespace error_number

// A file that took only `written` of its `wanted` bytes (a full disk, a quota).
LinkError ShortWrite(const std::wstring& path, std::size_t written, std::size_t wanted);

// The system's text for a failure with its inserts filled: "%1" becomes `first` when there is
// one; any other insert ("%2", "%1!s!" without `first`) is left out with the blanks before it.
std::wstring FillSystemInserts(const std::wstring& text, const std::wstring& first);

// The texts that report a failure, all here so that every report reads the same way.
// A command of the launcher or the screen: "<description>\n\nErreur N° <number>".
std::wstring CommandFailureText(const LinkError& error);
// The hand-off: "<description without its final full stop>. Erreur N° <number> dans LignesCreees."
std::wstring HandOffFailureText(const LinkError& error);
// The start of the X-ray program at `program`: "Impossible de démarrer Sidexis (<program>) :
// <the system's reason> (erreur N° <number>)."
std::wstring StartFailureText(const std::wstring& program, const LinkError& error);

}  // namespace corvane
