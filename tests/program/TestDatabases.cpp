#include "tests/program/TestDatabases.h"

#include "platform/sqlite/sqlite.h"
#include "platform/sqlite/tests/DatabaseWriter.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace {

using sqlite2test::Fields;
using sqlite2test::Row;

constexpr const char* TableName = "MarrowindScript";
constexpr const char* CreateTable =
    "CREATE TABLE MarrowindScript(Id INTEGER PRIMARY KEY, Wizard TEXT, Effect TEXT, Title TEXT, Head TEXT, "
    "BodyTag TEXT, Body TEXT, Author TEXT, Description TEXT, Files TEXT)";
constexpr std::size_t EffectColumn = 2;
constexpr std::size_t TitleColumn = 3;

constexpr const char* ColourKey = "#Color1";
constexpr const char* TextKey = "#Text1#";

std::string wizardHead(const std::string& Title) {
    return "<style type=\"text/css\">\r\nbody { margin: 0; background: #FFFFFF; }\r\n</style>\r\n"
           "<script type=\"text/javascript\">\r\ndocument.title = \"" +
           Title + "\";\r\n</script>";
}

std::string wizardBody(const std::string& Colour) {
    using namespace wizardtest;
    return "<div id=\"block\" style=\"position:absolute;left:" + std::to_string(BlockLeft) +
           "px;top:" + std::to_string(BlockTop) + "px;width:" + std::to_string(BlockWidth) +
           "px;height:" + std::to_string(BlockHeight) +
           "px\"></div>\r\n"
           "<script type=\"text/javascript\">\r\n"
           "document.getElementById(\"block\").style.backgroundColor = \"" +
           Colour + "\";\r\n</script>";
}

// The demo library's rows as the reader gives them, every column a text.
std::vector<Fields> readRows(const std::string& Library) {
    char* error = nullptr;
    sqlite* database = sqlite_open(Library.c_str(), 0, &error);
    if (!database) throw std::runtime_error("cannot open " + Library);
    char** table = nullptr;
    int rows = 0;
    int columns = 0;
    const int result = sqlite_get_table(database, "SELECT * FROM MarrowindScript;", &table, &rows, &columns, &error);
    sqlite_close(database);
    if (result != SQLITE_OK) {
        std::free(error);
        throw std::runtime_error("cannot read " + Library);
    }
    std::vector<Fields> records;
    for (int row = 1; row <= rows; ++row) {
        Fields& fields = records.emplace_back();
        for (int column = 0; column < columns; ++column) {
            const char* value = table[row * columns + column];
            fields.push_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    sqlite_free_table(table);
    return records;
}

std::string twoDigits(int Number) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", Number);
    return text;
}

} // namespace

std::string WizardTestDatabase() {
    using namespace wizardtest;
    const Fields script = {
        std::nullopt,
        std::string("#Color1") + DefaultColour + "|Block colour\r\n#Text1#" + DefaultText + "|Page title",
        std::string(Category),
        std::string(Title),
        wizardHead(TextKey),
        std::string(),
        wizardBody(ColourKey),
        std::string("Quorvane tests"),
        std::string("Paints a block in the chosen colour and names the page."),
        std::string("\\Scripts\\Images\\") + AttachedFile,
    };
    // Listed first, so that the block's category is reached with a key.
    const Fields plainPage = {
        std::nullopt, std::string(), std::string(PlainCategory), std::string("Empty page"), std::string(),
        std::string(), std::string("<p>Nothing here.</p>"), std::string("Quorvane tests"), std::string(),
        std::string(),
    };
    sqlite2test::DatabaseWriter writer;
    writer.addTable(TableName, CreateTable, {Row{1, script}, Row{2, plainPage}});
    return writer.image();
}

std::string WizardTestHead(const std::string& Title) {
    return wizardHead(Title);
}

std::string WizardTestPage(const std::string& Colour, const std::string& Title) {
    return "<html>\r\n<head>\r\n" + wizardHead(Title) + "\r\n</head>\r\n<body >\r\n" + wizardBody(Colour) +
           "\r\n</body>\r\n</html>";
}

std::string ScaleDatabase(const std::string& DemoLibrary, int Scripts, int CategoryCount) {
    const std::vector<Fields> demo = readRows(DemoLibrary);
    if (demo.empty() || Scripts <= 0 || CategoryCount <= 0) throw std::invalid_argument("nothing to repeat");
    const int perCategory = (Scripts + CategoryCount - 1) / CategoryCount;
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(Scripts));
    for (int index = 0; index < Scripts; ++index) {
        Fields fields = demo[static_cast<std::size_t>(index) % demo.size()];
        fields[0] = std::nullopt;
        fields[EffectColumn] = "Category " + twoDigits(index / perCategory + 1);
        fields[TitleColumn] = fields[TitleColumn].value_or("") + " " + std::to_string(index + 1);
        rows.push_back(Row{index + 1, std::move(fields)});
    }
    sqlite2test::DatabaseWriter writer;
    writer.addTable(TableName, CreateTable, rows);
    return writer.image();
}

bool WriteDatabase(const std::string& Path, const std::string& Image) {
    std::ofstream file(Path, std::ios::binary | std::ios::trunc);
    file.write(Image.data(), static_cast<std::streamsize>(Image.size()));
    return static_cast<bool>(file);
}
