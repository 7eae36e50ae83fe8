// The parameter wizard's definition lines and the substitution of a value
// for a placeholder, without windows: a line names one of 25 placeholder
// keys, a default, a label and for files a dialog filter; a value replaces
// the first occurrence of its key in a text.
#pragma once

#include "platform/core/Types.h"

#include <optional>

enum class TWizardKind { Text, Colour, Number, File };

// A placeholder key is always this long and opens its definition line.
inline constexpr std::size_t WizardKeyLength = 7;

struct TWizardDefinition {
    TWizardKind Kind = TWizardKind::Text;
    // The digit of the key: the number of the row's controls (1-based).
    Integer Row = 0;
    AnsiString Key;
    AnsiString Default;
    // File lines only.
    AnsiString Filter;
    AnsiString Label;
};

// The key and kind of the line's first seven characters; none for a line
// that names no key (case matters).
std::optional<TWizardDefinition> WizardKeyOf(const AnsiString& Line);

// The whole definition. Text, colour and number lines read key, default,
// "|", label; file lines key, default, "$", filter, "%", label; the last
// separator of each kind counts. A missing "|" leaves the default empty and
// the whole line as label; a missing "$" an empty default and the filter
// from the line's start; a "%" before the last "$" or a missing "%" an empty
// filter (and with no "%" the whole line as label).
std::optional<TWizardDefinition> ParseWizardLine(const AnsiString& Line);

// The 0-based place of Key's first occurrence in Text (case-sensitive);
// npos when Key is empty or absent.
std::size_t PlaceholderOffset(const AnsiString& Text, const AnsiString& Key);

// Text with the first occurrence of Key replaced by Value; unchanged when
// there is none.
AnsiString SubstituteFirst(const AnsiString& Text, const AnsiString& Key, const AnsiString& Value);
