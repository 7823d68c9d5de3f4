#pragma once
// The one way a failure reaches the user: the command that threw is abandoned, its failure is
// shown in a box, and the link waits for the next click.
#include <string>
#include <utility>

#include "platform/link_error.h"
#include "platform/message_boxes.h"

namespace corvane {

// What the box says: the failure's own report when it has one, else
// "<description>\n\nErreur N° <number>".
std::wstring FailureText(const LinkError& error);

// Runs `command`; a LinkError it throws is shown and the command abandoned. True when the
// command ran to its end. Any other exception goes through: it is no failure of the link's.
template <class Command>
bool RunShowingFailure(MessageBoxes& messages, Command&& command) {
  try {
    std::forward<Command>(command)();
    return true;
  } catch (const LinkError& error) {
    messages.Inform(FailureText(error));
    return false;
  }
}

}  // namespace corvane
