// libFuzzer target for a database file taken through the script browser's
// road without windows: open, the whole table, its categories, each
// category's rows, and for each row its wizard lines substituted, its file
// entries resolved and its page composed; every failure composes the error
// page. No record is read past its end, a failure leaves no open database,
// and no file entry leads out of the program folder.
#include "app/BareNames.h"
#include "app/PageComposition.h"
#include "app/ScriptDatabase.h"
#include "app/WizardDefinitions.h"
#include "platform/core/Classes.h"
#include "tests/FuzzCheck.h"
#include "tests/FuzzScratchFile.h"

#include <cstddef>
#include <cstdint>
#include <fstream>

namespace {

constexpr const char* ProgramFolder = "/opt/quorvane";

void showFailure(const TScriptDatabase& Database, const TScriptDatabase::Failure& Failure) {
    fuzzCheck(!Database.IsOpen(), "a failure leaves no open database");
    for (const AnsiString& text : Failure)
        fuzzCheck(!PageText(ComposePage("", "", ErrorPageBody(text))).empty(), "an error page is composed");
}

void checkWidths(const TScriptRows& Rows) {
    if (Rows.empty()) return;
    fuzzCheck(Rows[0].size() > scriptcolumn::Title, "a table read reaches the title column");
    for (const std::vector<AnsiString>& record : Rows)
        fuzzCheck(record.size() == Rows[0].size(), "every record is as wide as the column names");
}

std::vector<AnsiString> linesOf(const AnsiString& Text) {
    TStringList lines;
    lines.SetText(Text);
    std::vector<AnsiString> result;
    for (Integer i = 0; i < lines.Count(); ++i)
        result.push_back(lines[i]);
    return result;
}

void checkFileEntries(const std::vector<AnsiString>& Record) {
    const AnsiString inside = AnsiString(ProgramFolder) + "/";
    for (const AnsiString& entry : linesOf(ColumnText(Record, scriptcolumn::Files))) {
        const AnsiString path = AttachedFilePath(ProgramFolder, entry);
        fuzzCheck(path.empty() || path.starts_with(inside), "an attached file lies below the program folder");
    }
}

// The script as the main window shows it: the parts with the wizard's
// defaults in place, composed into the preview page.
void composeScript(const std::vector<AnsiString>& Record) {
    AnsiString head = ColumnText(Record, scriptcolumn::Head);
    AnsiString bodyTag = ColumnText(Record, scriptcolumn::BodyTag);
    AnsiString body = ColumnText(Record, scriptcolumn::Body);
    for (const AnsiString& line : linesOf(ColumnText(Record, scriptcolumn::Wizard)))
        if (const std::optional<TWizardDefinition> definition = ParseWizardLine(line))
            for (AnsiString* part : {&head, &bodyTag, &body})
                *part = SubstituteFirst(*part, definition->Key, definition->Default);
    const AnsiString page = PageText(ComposePage(head, bodyTag, body));
    fuzzCheck(page.find(body) != AnsiString::npos, "the page holds the body");
}

// False when the query failed, which closes the database.
bool browseCategory(TScriptDatabase& Database, const AnsiString& Category) {
    TScriptRows rows;
    if (std::optional<TScriptDatabase::Failure> failure = Database.ReadCategory(Category, rows)) {
        showFailure(Database, *failure);
        return false;
    }
    checkWidths(rows);
    for (std::size_t row = 1; row < rows.size(); ++row) {
        checkFileEntries(rows[row]);
        composeScript(rows[row]);
    }
    return true;
}

void writeFile(const std::string& Path, const std::uint8_t* Data, std::size_t Size) {
    std::ofstream(Path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const FuzzScratchFile file("quorvane-scriptdb-fuzz", "library.zelk");
    writeFile(file.path(), Data, Size);
    TScriptDatabase database;
    if (std::optional<TScriptDatabase::Failure> failure = database.Open(file.path())) {
        showFailure(database, *failure);
        return 0;
    }
    TScriptRows rows;
    if (std::optional<TScriptDatabase::Failure> failure = database.ReadTable(rows)) {
        fuzzCheck(rows.empty(), "a failed table read leaves no rows");
        showFailure(database, *failure);
        return 0;
    }
    checkWidths(rows);
    for (const AnsiString& category : CategoriesOf(rows))
        if (!browseCategory(database, category)) break;
    return 0;
}
