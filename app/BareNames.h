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
// drive or host, no NUL byte, and a usable bare name.
bool IsAttachableEntry(const AnsiString& Entry);

// The file an attachable Files entry names below AppDir (the program folder,
// no trailing separator): its parts joined to the folder with "/", whether
// or not the entry starts with a separator, so that no entry reaches a
// neighbour whose name merely begins with the folder's. Empty for an entry
// that may not be attached.
AnsiString AttachedFilePath(const AnsiString& AppDir, const AnsiString& Entry);
