// The rich edit control classes (RichEdit20W, and RichEdit20A for ANSI
// callers), built on the EDIT class: plain text with paragraphs ended by a
// single CR as the rich edit counts them, text read and written whole, by
// range and through streams (plain text and RTF, whose formatting is read
// past), searching, an event mask for its notifications, and addresses in
// the text detected, drawn as links and reported with EN_LINK when the mouse
// acts on them. A text set by WM_SETTEXT, EM_SETTEXTEX or EM_REPLACESEL is
// handed back byte for byte (its own line breaks) until an edit changes it.
// The background colour, the hidden selection and a one-step undo (off with
// a limit of 0) act; character and paragraph formats are kept and handed
// back, but the text is drawn in the control's font alone.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterRichEditClasses();

// The plain text of an RTF document (a text beginning "{\rtf"): groups,
// control words and destinations read past, \par and \line as CR, escaped
// characters decoded (\'hh in code page 1252, \uN).
WideString PlainTextOfRtf(const AnsiString& Rtf);
bool IsRtf(const AnsiString& Text);
