// The rich edit control classes (RichEdit20W, and RichEdit20A for ANSI
// callers), built on the EDIT class: plain text with paragraphs ended by a
// single CR as the rich edit counts them, text read and written whole, by
// range and through streams (plain text and RTF, whose formatting is read
// past), searching, an event mask for its notifications, and addresses in
// the text detected, drawn as links and reported with EN_LINK when the mouse
// acts on them.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterRichEditClasses();

// The plain text of an RTF document (a text beginning "{\rtf"): groups,
// control words and destinations read past, \par and \line as CR, escaped
// characters decoded (\'hh in code page 1252, \uN).
WideString PlainTextOfRtf(const AnsiString& Rtf);
bool IsRtf(const AnsiString& Text);
