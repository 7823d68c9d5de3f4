#pragma once
// The small system services of the core: clock, environment, starting a program, messages.
#include <string>

namespace corvane {

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;
  // The variable's value, its name compared without regard to case; empty when not set.
  virtual std::wstring Variable(const std::wstring& name) const = 0;
};

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts the program, no arguments, as a normal window with the focus, without waiting.
  // Throws LinkError with the system's error text and number when it cannot be started.
  virtual void Start(const std::wstring& path) = 0;
};

// The application title shown by a message box that gives no title of its own.
inline constexpr wchar_t kApplicationTitle[] = L"Tarnwick";

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Modal, OK only, no icon.
  virtual void Inform(const std::wstring& text, const std::wstring& title = kApplicationTitle) = 0;
  // Modal, Yes and No, no icon; true for Yes.
  virtual bool AskYesNo(const std::wstring& text, const std::wstring& title = kApplicationTitle) = 0;
};

// Host clock and environment; used by native builds.
class PortableClock : public Clock {
 public:
  LocalTime Now() const override;
};

class PortableEnvironment : public Environment {
 public:
  std::wstring Variable(const std::wstring& name) const override;
};

}  // namespace corvane
