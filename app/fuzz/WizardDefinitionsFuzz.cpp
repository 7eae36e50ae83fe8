// libFuzzer target for the wizard's definition lines and substitution: the
// input's first line is a definition, the rest a template. A parsed line
// gives back its own fields, and a substitution changes exactly the first
// occurrence of the key.
#include "app/WizardDefinitions.h"
#include "tests/FuzzCheck.h"

#include <cstddef>
#include <cstdint>

namespace {

bool isTakenFrom(const AnsiString& Line, const AnsiString& Piece) {
    return Piece.empty() || Line.find(Piece) != AnsiString::npos;
}

void checkDefinition(const AnsiString& Line) {
    const std::optional<TWizardDefinition> definition = ParseWizardLine(Line);
    if (!definition) return;
    fuzzCheck(Line.compare(0, WizardKeyLength, definition->Key) == 0, "the key opens the line");
    fuzzCheck(definition->Row >= 1 && definition->Row <= 7, "the row is a key's digit");
    fuzzCheck(isTakenFrom(Line, definition->Default) && isTakenFrom(Line, definition->Filter) &&
                  isTakenFrom(Line, definition->Label),
              "every field is taken from the line");
    fuzzCheck(Line.size() >= definition->Label.size() &&
                  Line.compare(Line.size() - definition->Label.size(), AnsiString::npos, definition->Label) ==
                      0,
              "the label ends the line");
    if (definition->Kind != TWizardKind::File) {
        fuzzCheck(definition->Filter.empty(), "only file lines have a filter");
        const bool split = Line.find('|') != AnsiString::npos;
        fuzzCheck(!split || definition->Key + definition->Default + "|" + definition->Label == Line,
                  "a line with a bar is key, default, bar and label");
        fuzzCheck(definition->Label.find('|') == AnsiString::npos || !split, "the last bar counts");
    }
}

void checkSubstitution(const AnsiString& Text, const AnsiString& Key, const AnsiString& Value) {
    const std::size_t offset = PlaceholderOffset(Text, Key);
    const AnsiString result = SubstituteFirst(Text, Key, Value);
    if (offset == AnsiString::npos) {
        fuzzCheck(result == Text, "an absent key changes nothing");
        return;
    }
    fuzzCheck(Text.find(Key) == offset, "the first occurrence is replaced");
    fuzzCheck(result.size() == Text.size() - Key.size() + Value.size(), "the value takes the key's place");
    fuzzCheck(result.compare(0, offset, Text, 0, offset) == 0, "what precedes stays");
    fuzzCheck(result.compare(offset, Value.size(), Value) == 0, "the value stands where the key stood");
    fuzzCheck(result.compare(offset + Value.size(), AnsiString::npos, Text, offset + Key.size()) == 0,
              "what follows stays");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const AnsiString input(reinterpret_cast<const char*>(Data), Size);
    const std::size_t lineEnd = input.find('\n');
    const AnsiString line = input.substr(0, lineEnd);
    const AnsiString text = lineEnd == AnsiString::npos ? AnsiString() : input.substr(lineEnd + 1);
    checkDefinition(line);
    const std::optional<TWizardDefinition> definition = ParseWizardLine(line);
    const AnsiString key = definition ? definition->Key : line.substr(0, WizardKeyLength);
    checkSubstitution(text, key, definition ? definition->Default : line);
    return 0;
}
