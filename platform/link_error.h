#pragma once
// The one failure type of the program: a French description and a number.
#include <exception>
#include <string>

namespace corvane {

class LinkError : public std::exception {
 public:
  // `report`, when given, is the whole text the user reads: a failure with a form of its own
  // (the hand-off's, the X-ray program's start). Without it the user reads the description
  // and the number, as for any command.
  LinkError(std::wstring description, long number, std::wstring report = {})
      : description_(std::move(description)), number_(number), report_(std::move(report)) {}

  const std::wstring& Description() const { return description_; }
  long Number() const { return number_; }
  const std::wstring& Report() const { return report_; }
  const char* what() const noexcept override { return "LinkError"; }

 private:
  std::wstring description_;
  long number_;
  std::wstring report_;
};

// Numbers of the failures that the program itself detects (system failures carry the
// system's own error number instead). Kept apart from Win32 error codes, which stay below 16000.
namespace error_number {
inline constexpr long kFileNotFound = 53;   // a file to read is not there
inline constexpr long kFileAccess = 75;     // a file could not be created, read, written, closed or replaced
inline constexpr long kFileNumberTooLong = 20001;   // file number does not fit the name field
inline constexpr long kRecordTooLong = 20002;       // a hand-off record would exceed 255 bytes
inline constexpr long kSettingsFileTooShort = 20003;  // Tech.txt holds fewer than 17 lines
inline constexpr long kPracticeNotAnswering = 20004;  // the practice program stopped answering
inline constexpr long kSettingsEntryHasLineBreak = 20005;  // a settings entry cannot be one line
inline constexpr long kShortWrite = 20006;                 // a file took fewer bytes than it was given
inline constexpr long kTextConversion = 20007;             // the system could not convert a text
inline constexpr long kPatientChangedDuringReading = 20008;  // two readings in a row mixed two patients
inline constexpr long kSettingsFileNotText = 20009;          // a settings file holds a NUL where text should be
inline constexpr long kHandOffRefused = 20010;  // a field the X-ray program needs is missing: nothing handed off
inline constexpr long kDrawnFieldRefused = 20011;  // a drawn field whose name could follow the patient
}  // namespace error_number

// A file that took only `written` of its `wanted` bytes (a full disk, a quota).
LinkError ShortWrite(const std::wstring& path, std::size_t written, std::size_t wanted);

// The system's text for a failure with its inserts filled: "%1" becomes `first` when there is
// one; any other insert ("%2", "%1!s!" without `first`) is left out with the blanks before it.
std::wstring FillSystemInserts(const std::wstring& text, const std::wstring& first);

// The text without the full stops and blanks at its end: a report adds its own punctuation.
std::wstring WithoutFinalStop(std::wstring text);

}  // namespace corvane
