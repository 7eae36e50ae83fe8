#include "app/WizardDefinitions.h"

#include <array>

namespace {

struct KeyFamily {
    const char* prefix; // the key up to its digit
    const char* suffix; // what follows the digit
    TWizardKind kind;
    Integer rows;
};

// In the order the keys are tried; colour keys have no closing "#".
constexpr std::array<KeyFamily, 4> keyFamilies = {{{"#Text", "#", TWizardKind::Text, 6},
                                                   {"#Color", "", TWizardKind::Colour, 7},
                                                   {"#Int_", "#", TWizardKind::Number, 6},
                                                   {"#File", "#", TWizardKind::File, 6}}};

constexpr char LabelSeparator = '|';
constexpr char FilterStart = '$';
constexpr char LabelAfterFilter = '%';

// 1-based position of the last Separator, 0 when there is none.
std::size_t lastPosition(const AnsiString& Line, char Separator) {
    const std::size_t found = Line.rfind(Separator);
    return found == AnsiString::npos ? 0 : found + 1;
}

// Characters First to Last of Line (1-based, inclusive); empty when Last < First.
AnsiString between(const AnsiString& Line, std::size_t First, std::size_t Last) {
    if (First == 0 || Last < First || First > Line.size()) return {};
    return Line.substr(First - 1, Last - First + 1);
}

AnsiString after(const AnsiString& Line, std::size_t Position) {
    return Position >= Line.size() ? AnsiString() : Line.substr(Position);
}

constexpr std::size_t FirstDefaultCharacter = WizardKeyLength + 1;

void readValueLine(const AnsiString& Line, TWizardDefinition& Definition) {
    const std::size_t bar = lastPosition(Line, LabelSeparator);
    if (bar > 0) Definition.Default = between(Line, FirstDefaultCharacter, bar - 1);
    Definition.Label = after(Line, bar);
}

void readFileLine(const AnsiString& Line, TWizardDefinition& Definition) {
    const std::size_t dollar = lastPosition(Line, FilterStart);
    const std::size_t percent = lastPosition(Line, LabelAfterFilter);
    if (dollar > 0) Definition.Default = between(Line, FirstDefaultCharacter, dollar - 1);
    if (percent > 0) Definition.Filter = between(Line, dollar + 1, percent - 1);
    Definition.Label = after(Line, percent);
}

} // namespace

std::optional<TWizardDefinition> WizardKeyOf(const AnsiString& Line) {
    if (Line.size() < WizardKeyLength) return std::nullopt;
    const AnsiString key = Line.substr(0, WizardKeyLength);
    for (const KeyFamily& family : keyFamilies)
        for (Integer row = 1; row <= family.rows; ++row)
            if (key == family.prefix + std::to_string(row) + family.suffix) {
                TWizardDefinition definition;
                definition.Kind = family.kind;
                definition.Row = row;
                definition.Key = key;
                return definition;
            }
    return std::nullopt;
}

std::optional<TWizardDefinition> ParseWizardLine(const AnsiString& Line) {
    std::optional<TWizardDefinition> definition = WizardKeyOf(Line);
    if (!definition) return std::nullopt;
    if (definition->Kind == TWizardKind::File)
        readFileLine(Line, *definition);
    else
        readValueLine(Line, *definition);
    return definition;
}

std::size_t PlaceholderOffset(const AnsiString& Text, const AnsiString& Key) {
    return Key.empty() ? AnsiString::npos : Text.find(Key);
}

AnsiString SubstituteFirst(const AnsiString& Text, const AnsiString& Key, const AnsiString& Value) {
    const std::size_t offset = PlaceholderOffset(Text, Key);
    if (offset == AnsiString::npos) return Text;
    AnsiString result = Text;
    result.replace(offset, Key.size(), Value);
    return result;
}
