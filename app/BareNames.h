// Names from the script table and from "Att.lst" become bare file names
// inside the temporary folder, so that no database or list content makes the
// program write or delete anywhere else.
#pragma once

#include "platform/core/Types.h"

// The text after the last "\" or "/" (all of it when there is none).
AnsiString AfterLastSeparator(const AnsiString& Path);

// The bare name of an "Att.lst" line or a Files entry; empty when nothing
// usable is left ("", "." or "..").
AnsiString BareName(const AnsiString& Entry);

// Whether a Files entry (a path below the program folder starting with "\")
// may be copied: not empty, no ".." part, not an absolute path of another
// drive or host, and a usable bare name.
bool IsAttachableEntry(const AnsiString& Entry);
