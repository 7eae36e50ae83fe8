// The files a shown script puts into the temporary folder: copies of its
// attached files under their bare names, listed one a line in "Att.lst", and
// the composed page "marrowind.htm". Only bare names are ever joined to the
// folder, so nothing outside it is written or deleted.
#pragma once

#include "platform/core/Types.h"

#include <vector>

class TStrings;

inline constexpr const char* AttachedListFile = "Att.lst";
inline constexpr const char* PreviewPageFile = "marrowind.htm";

// The user's private temporary folder, with a trailing separator.
AnsiString TemporaryFolder();

// Copies the file each entry names below AppDir (AttachedFilePath) to
// TempDir + its bare name for every entry that may be attached (a failed copy is ignored, the name is still listed) and
// returns the bare names in entry order; saves them as "Att.lst" (CR LF after
// each line) when Entries is not empty.
std::vector<AnsiString> CopyAttachedFiles(const AnsiString& AppDir, const AnsiString& TempDir,
                                          const TStrings& Entries);

// Deletes the files "Att.lst" names (by their bare names) and the list
// itself; nothing happens without a list.
void DeleteAttachedFiles(const AnsiString& TempDir);
