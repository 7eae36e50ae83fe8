#include "app/TempFiles.h"

#include "app/BareNames.h"
#include "platform/core/Classes.h"
#include "platform/core/FileUtils.h"

namespace {

AnsiString listFileName(const AnsiString& TempDir) {
    return TempDir + AttachedListFile;
}

void saveAttachedList(const AnsiString& TempDir, const std::vector<AnsiString>& Names) {
    TStringList list;
    for (const AnsiString& name : Names)
        list.Add(name);
    list.SaveToFile(listFileName(TempDir));
}

} // namespace

AnsiString TemporaryFolder() {
    return GetTempFolder();
}

std::vector<AnsiString> CopyAttachedFiles(const AnsiString& AppDir, const AnsiString& TempDir,
                                          const TStrings& Entries) {
    std::vector<AnsiString> names;
    for (Integer i = 0; i < Entries.Count(); ++i) {
        const AnsiString entry = Entries[i];
        const AnsiString source = AttachedFilePath(AppDir, entry);
        if (source.empty()) continue;
        const AnsiString name = BareName(entry);
        names.push_back(name);
        CopyFile(source, TempDir + name, false); // a missing file is simply not shown
    }
    if (Entries.Count() > 0) saveAttachedList(TempDir, names);
    return names;
}

void DeleteAttachedFiles(const AnsiString& TempDir) {
    const AnsiString listName = listFileName(TempDir);
    if (!FileExists(listName)) return;
    TStringList list;
    list.LoadFromFile(listName);
    for (Integer i = 0; i < list.Count(); ++i) {
        const AnsiString name = BareName(list[i]);
        if (!name.empty() && FileExists(TempDir + name)) DeleteFile(TempDir + name);
    }
    DeleteFile(listName);
}
