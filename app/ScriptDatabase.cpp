#include "app/ScriptDatabase.h"

#include "platform/core/Classes.h"
#include "platform/core/SysUtils.h"
#include "platform/sqlite/sqlite.h"

#include <cstdlib>

namespace {

constexpr const char* TableStatement = "SELECT * FROM MarrowindScript;";
constexpr const char* CantOpenText = "Can't open DataBase";
// The engine ignores the mode; it is the one the database was always opened with.
constexpr int OpenMode = 0660;
constexpr const char* NoSuchColumnText = "no such column: ";

// The columns the browser lists by, with the names the table gives them.
struct NeededColumn {
    int position;
    const char* name;
};
constexpr NeededColumn NeededColumns[] = {{scriptcolumn::Effect, "Effect"}, {scriptcolumn::Title, "Title"}};

AnsiString textOf(const char* Value) {
    return Value ? AnsiString(Value) : AnsiString();
}

// Copies the engine's error text and releases it.
std::optional<AnsiString> takeErrorText(char* ErrorText) {
    if (!ErrorText) return std::nullopt;
    AnsiString text = ErrorText;
    std::free(ErrorText);
    return text;
}

int appendRow(void* Argument, int ColumnCount, char** Values, char** ColumnNames) {
    auto& rows = *static_cast<TScriptRows*>(Argument);
    if (rows.empty()) rows.emplace_back();
    rows[0].assign(ColumnNames, ColumnNames + ColumnCount);
    std::vector<AnsiString>& record = rows.emplace_back();
    for (int column = 0; column < ColumnCount; ++column)
        record.push_back(textOf(Values[column]));
    return 0;
}

} // namespace

AnsiString ColumnText(const std::vector<AnsiString>& Record, int Column) {
    return Column >= 0 && static_cast<std::size_t>(Column) < Record.size() ? Record[Column] : AnsiString();
}

AnsiString CategoryStatement(const AnsiString& Category) {
    return "SELECT * FROM MarrowindScript WHERE Effect ='" +
           StringReplace(Category, "'", "''", rfReplaceAll) + "';";
}

std::optional<TScriptDatabase::Failure> TScriptDatabase::Open(const AnsiString& FileName) {
    Close();
    char* errorText = nullptr;
    handle_ = sqlite_open(FileName.c_str(), OpenMode, &errorText);
    if (handle_) return std::nullopt;
    Failure failure{CantOpenText};
    if (std::optional<AnsiString> text = takeErrorText(errorText)) failure.push_back(*text);
    return failure;
}

void TScriptDatabase::Close() {
    if (handle_) sqlite_close(handle_);
    handle_ = nullptr;
}

std::optional<TScriptDatabase::Failure> TScriptDatabase::queryFailed(char* ErrorText) {
    Close();
    Failure failure;
    if (std::optional<AnsiString> text = takeErrorText(ErrorText)) failure.push_back(*text);
    return failure;
}

// Only records tell how wide the table is: an empty result passes.
std::optional<TScriptDatabase::Failure> TScriptDatabase::checkColumns(TScriptRows& Rows) {
    if (Rows.empty()) return std::nullopt;
    for (const NeededColumn& column : NeededColumns)
        if (static_cast<std::size_t>(column.position) >= Rows[0].size()) {
            Close();
            Rows.clear();
            return Failure{AnsiString(NoSuchColumnText) + column.name};
        }
    return std::nullopt;
}

std::optional<TScriptDatabase::Failure> TScriptDatabase::ReadTable(TScriptRows& Rows) {
    Rows.clear();
    if (!handle_) return std::nullopt;
    char** result = nullptr;
    int rowCount = 0;
    int columnCount = 0;
    char* errorText = nullptr;
    if (sqlite_get_table(handle_, TableStatement, &result, &rowCount, &columnCount, &errorText) != SQLITE_OK)
        return queryFailed(errorText);
    for (int row = 0; row <= rowCount && columnCount > 0; ++row) {
        char** cells = result + row * columnCount;
        std::vector<AnsiString>& line = Rows.emplace_back();
        for (int column = 0; column < columnCount; ++column)
            line.push_back(textOf(cells[column]));
    }
    sqlite_free_table(result);
    return checkColumns(Rows);
}

std::optional<TScriptDatabase::Failure> TScriptDatabase::ReadCategory(const AnsiString& Category,
                                                                      TScriptRows& Rows) {
    Rows.clear();
    if (!handle_) return std::nullopt;
    char* errorText = nullptr;
    if (sqlite_exec(handle_, CategoryStatement(Category).c_str(), appendRow, &Rows, &errorText) != SQLITE_OK)
        return queryFailed(errorText);
    return checkColumns(Rows);
}

std::vector<AnsiString> CategoriesOf(const TScriptRows& Rows) {
    TStringList sorted;
    sorted.SetDuplicates(dupIgnore);
    sorted.SetSorted(true);
    for (std::size_t row = 1; row < Rows.size(); ++row)
        if (Rows[row].size() > scriptcolumn::Effect) sorted.Add(Rows[row][scriptcolumn::Effect]);
    std::vector<AnsiString> categories;
    for (Integer i = 0; i < sorted.Count(); ++i)
        categories.push_back(sorted[i]);
    return categories;
}
