// The script database: one SQLite 2 file, only read. It loads the whole
// script table and the rows of one category, and never uses a handle that a
// failed open left null or that a failed query closed. A table too narrow to
// hold the category and the title fails as a query naming the missing column.
#pragma once

#include "platform/core/Types.h"

#include <optional>
#include <vector>

struct sqlite;

// A query's result as the hidden grid holds it: row 0 the column names,
// rows 1..n the records in table order; a SQL NULL reads as "".
using TScriptRows = std::vector<std::vector<AnsiString>>;

// Column positions of the script table.
namespace scriptcolumn {
inline constexpr int Wizard = 1;
inline constexpr int Effect = 2;
inline constexpr int Title = 3;
inline constexpr int Head = 4;
inline constexpr int BodyTag = 5;
inline constexpr int Body = 6;
inline constexpr int Author = 7;
inline constexpr int Description = 8;
inline constexpr int Files = 9;
} // namespace scriptcolumn

// A record's text in Column; empty for a column the record does not reach.
AnsiString ColumnText(const std::vector<AnsiString>& Record, int Column);

// The category query, the category text quoted as an SQL literal (each
// apostrophe doubled).
AnsiString CategoryStatement(const AnsiString& Category);

class TScriptDatabase {
public:
    // What a failed call reports: its message texts in the order they are
    // shown (the last one stays on screen).
    using Failure = std::vector<AnsiString>;

    TScriptDatabase() = default;
    TScriptDatabase(const TScriptDatabase&) = delete;
    TScriptDatabase& operator=(const TScriptDatabase&) = delete;
    ~TScriptDatabase() { Close(); }

    // Closes the database open before. A failure reports "Can't open
    // DataBase" and then the engine's error text when it gave one.
    std::optional<Failure> Open(const AnsiString& FileName);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // "SELECT * FROM MarrowindScript;" into Rows. A failed query closes the
    // database and reports the engine's error text (when it gave one); so do
    // records without a category or a title column ("no such column: Title"),
    // leaving Rows empty. Without an open database nothing happens and
    // nothing is reported.
    std::optional<Failure> ReadTable(TScriptRows& Rows);
    // The rows of one category in place of Rows' content, in the order the
    // engine delivers them. Failures as for ReadTable.
    std::optional<Failure> ReadCategory(const AnsiString& Category, TScriptRows& Rows);

private:
    std::optional<Failure> queryFailed(char* ErrorText);
    std::optional<Failure> checkColumns(TScriptRows& Rows);

    sqlite* handle_ = nullptr;
};

// The distinct categories (column 2) of the records in Rows, sorted without
// regard to case; of names equal but for case, the first met is kept.
std::vector<AnsiString> CategoriesOf(const TScriptRows& Rows);
