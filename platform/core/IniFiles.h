// TIniFile: settings files with the behaviour of the system's profile calls.
// Every call reads the file anew and every write goes to disk at once.
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Types.h"

class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// Sections ("[Name]") and keys ("Key=Value") are found without regard to
// case; the first of several equal ones counts. Values lose surrounding
// blanks and one pair of matching quotes. Lines starting with ";" and lines
// outside any section are comments. A missing file, section or key gives the
// default. Writing changes or adds only the line concerned and keeps every
// other line of the file; a file that cannot be written, or that the user
// may not write (read-only, or not theirs to write), is left as it is and
// raises EIniFileException "Unable to write to <file>", the reason left in
// GetLastOSError() (success when no system call failed, as for a file in
// UTF-16, which is never rewritten).
class TIniFile : public TObject {
public:
    explicit TIniFile(const AnsiString& FileName) : fileName_(FileName) {}

    const AnsiString& FileName() const { return fileName_; }

    virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                                  const AnsiString& Default) const;
    virtual void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
    // Decimal or "0x" hexadecimal; anything else gives Default.
    Integer ReadInteger(const AnsiString& Section, const AnsiString& Ident, Integer Default) const;
    void WriteInteger(const AnsiString& Section, const AnsiString& Ident, Integer Value);
    // Read as an integer, true when not 0; written as "1" or "0".
    bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) const;
    void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);

    // The key names of Section, in file order.
    virtual void ReadSection(const AnsiString& Section, TStrings* Strings) const;
    // The section names, in file order.
    virtual void ReadSections(TStrings* Strings) const;
    // "Key=Value" lines of Section.
    virtual void ReadSectionValues(const AnsiString& Section, TStrings* Strings) const;
    // A section counts as existing when it holds a key.
    bool SectionExists(const AnsiString& Section) const;
    bool ValueExists(const AnsiString& Section, const AnsiString& Ident) const;
    // Removes the section with all its lines.
    virtual void EraseSection(const AnsiString& Section);
    virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident);
    // Writes go to disk at once; nothing is left to flush.
    virtual void UpdateFile() {}

private:
    AnsiString fileName_;
};
