// The editor's commands: the number a keystroke or a caller hands to the
// editor to say what to do.
#pragma once

#include "platform/core/Types.h"

using TSynEditorCommand = Word;

// No command: a handler that consumed a command leaves this in its place.
constexpr TSynEditorCommand ecNone = 0;
// The first number free for commands of the editor's users.
constexpr TSynEditorCommand ecUserFirst = 1001;
