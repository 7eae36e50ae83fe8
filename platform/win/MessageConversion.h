// How a message crosses from an ANSI caller to a UTF-16 procedure and back:
// only text-bearing messages change (window text, characters, creation names,
// the edit, list-box and combo-box strings), through code page 1252; counts
// come back in the caller's units. Positions, common-control messages and
// WM_NOTIFY pass untouched.
#pragma once

#include "platform/win/WindowProcedures.h"

#include <functional>

using MessageCall = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

// Calls `call`, which expects `to`, with a message given in `from`.
LRESULT CallConverted(CharSet from, CharSet to, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      const MessageCall& call);

// A character message's code unit as the other charset sees it; other
// messages are returned unchanged. For queued messages and hooks.
void ConvertQueuedMessage(MSG& msg, CharSet from, CharSet to);

bool IsCharacterMessage(UINT message);
