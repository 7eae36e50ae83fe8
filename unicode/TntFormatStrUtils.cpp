// Parsing of format specifiers: "%" [index ":"] ["-"] [width] ["." precision]
// type, where index, width and precision are 1 to 6 digits and width and
// precision may be "*".
#include "unicode/TntFormatStrUtils.h"

#include "platform/core/CodePages.h"

#include <algorithm>
#include <optional>

namespace {

constexpr const char* SInvalidFormatSpecifier = "Invalid Format Specifier: %s";
constexpr const char* SMismatchedArgumentTypes = "Argument types for index %d do not match. (%s <> %s)";
constexpr const char* SMismatchedParameterCount = "Number of format specifiers do not match.";
constexpr const char* SUnexpectedFormatType = "Internal Error: Unexpected format type (%s)";
constexpr int MaximumDigits = 6;
constexpr Cardinal StackBufferSize = 4096;
constexpr Cardinal LongFormatLength = 3072;

enum TypeClass { IntegerClass, FloatClass, PointerClass, StringClass };

TypeClass typeClassOf(WideChar type) {
    switch (type) {
    case u'd':
    case u'D':
    case u'u':
    case u'U':
    case u'x':
    case u'X':
        return IntegerClass;
    case u'e':
    case u'E':
    case u'f':
    case u'F':
    case u'g':
    case u'G':
    case u'm':
    case u'M':
    case u'n':
    case u'N':
        return FloatClass;
    case u'p':
    case u'P':
        return PointerClass;
    case u's':
    case u'S':
        return StringClass;
    default:
        throw ETntInternalError(Format(SUnexpectedFormatType, {WideToAnsi(WideString(1, type))}));
    }
}

bool isType(WideChar c) {
    return WideString(u"dDeEfFgGmMnNpPsSuUxX").find(c) != WideString::npos;
}

bool isDigit(WideChar c) {
    return c >= u'0' && c <= u'9';
}

struct Specifier {
    WideString text;      // as written, from "%" through the type
    WideString canonical; // the same with its argument index
    Integer index = 0;    // the value's argument, explicit or implied
    bool explicitIndex = false;
    bool usesStar = false;
    WideChar type = 0;
};

// Splits a format text into literal runs and specifiers.
class TFormatStrParser {
public:
    explicit TFormatStrParser(const WideString& format) : format_(format) {}

    // Calls onText for literal text (a doubled "%" stays doubled) and
    // onSpecifier for each specifier, in order.
    template <typename OnText, typename OnSpecifier> void Parse(OnText onText, OnSpecifier onSpecifier) {
        while (position_ < format_.size()) {
            const std::size_t percent = format_.find(u'%', position_);
            const std::size_t runEnd = percent == WideString::npos ? format_.size() : percent;
            if (runEnd > position_) {
                const WideString run = format_.substr(position_, runEnd - position_);
                output_ += run;
                onText(run);
            }
            position_ = runEnd;
            if (position_ >= format_.size()) break;
            if (const std::optional<Specifier> specifier = parseSpecifier())
                onSpecifier(*specifier);
            else
                onText(format_.substr(runEnd, position_ - runEnd));
        }
    }

    Integer ExplicitCount() const { return explicitCount_; }
    Integer ImplicitCount() const { return implicitCount_; }

private:
    WideChar at(std::size_t position) const { return position < format_.size() ? format_[position] : 0; }

    [[noreturn]] void invalid() const {
        throw EFormatSpecError(
            Format(SInvalidFormatSpecifier, {WideToAnsi(output_ + format_.substr(position_))}));
    }

    void copy(WideString& canonical) {
        canonical += format_[position_];
        output_ += format_[position_++];
    }

    void insert(WideString& canonical, const WideString& text) {
        canonical += text;
        output_ += text;
    }

    std::optional<Specifier> parseSpecifier() {
        const std::size_t start = position_;
        Specifier specifier;
        copy(specifier.canonical);
        if (position_ >= format_.size()) return std::nullopt;
        if (at(position_) == u'%' || at(position_) == u' ') {
            copy(specifier.canonical);
            return std::nullopt;
        }
        std::size_t ahead = position_;
        Integer index = 0;
        while (isDigit(at(ahead)) && ahead - position_ < MaximumDigits + 1)
            index = index * 10 + (at(ahead++) - u'0');
        if (ahead > position_ && at(ahead) == u':') {
            ++explicitCount_;
            lastIndex_ = std::max(lastIndex_, index);
            specifier.explicitIndex = true;
        } else {
            ++implicitCount_;
            index = ++lastIndex_;
            insert(specifier.canonical, AnsiToWide(IntToStr(index)) + u":");
        }
        specifier.index = index;
        copyNumberOrStar(specifier);
        if (at(position_) == u':') copy(specifier.canonical);
        if (at(position_) == u'-') copy(specifier.canonical);
        copyNumberOrStar(specifier);
        if (at(position_) == u'.') {
            copy(specifier.canonical);
            if (at(position_) != u'*' && !isDigit(at(position_))) invalid();
            copyNumberOrStar(specifier);
        }
        if (!isType(at(position_))) invalid();
        specifier.type = at(position_);
        copy(specifier.canonical);
        specifier.text = format_.substr(start, position_ - start);
        return specifier;
    }

    void copyNumberOrStar(Specifier& specifier) {
        if (at(position_) == u'*') {
            ++implicitCount_;
            ++lastIndex_;
            specifier.usesStar = true;
            copy(specifier.canonical);
            return;
        }
        int digits = 0;
        while (isDigit(at(position_))) {
            if (++digits > MaximumDigits) invalid();
            copy(specifier.canonical);
        }
    }

    const WideString& format_;
    std::size_t position_ = 0;
    WideString output_;
    Integer lastIndex_ = -1;
    Integer explicitCount_ = 0;
    Integer implicitCount_ = 0;
};

// ---- Comparing --------------------------------------------------------------------------

struct ArgumentUse {
    std::optional<TypeClass> typeClass;
    WideString specifier;
};

[[noreturn]] void mismatchedTypes(Integer index, const WideString& first, const WideString& second) {
    throw EFormatSpecError(Format(SMismatchedArgumentTypes, {index, WideToAnsi(first), WideToAnsi(second)}));
}

// The kind of value each argument index takes, by index.
std::vector<ArgumentUse> argumentUsesOf(const WideString& format) {
    std::vector<ArgumentUse> uses;
    Integer previous = -1;
    TFormatStrParser(format).Parse([](const WideString&) {},
                                   [&](const Specifier& specifier) {
                                       const Integer index =
                                           specifier.explicitIndex ? specifier.index : previous + 1;
                                       previous = index;
                                       if (static_cast<Integer>(uses.size()) <= index)
                                           uses.resize(static_cast<std::size_t>(index) + 1);
                                       ArgumentUse& use = uses[static_cast<std::size_t>(index)];
                                       const TypeClass typeClass = typeClassOf(specifier.type);
                                       if (!use.typeClass) {
                                           use.typeClass = typeClass;
                                           use.specifier = specifier.text;
                                       } else if (*use.typeClass != typeClass) {
                                           mismatchedTypes(index, use.specifier, specifier.text);
                                       }
                                   });
    return uses;
}

// ---- Wide formatting ------------------------------------------------------------------------

WideString argumentAsText(const TVarRec& argument, const WideString& specifier) {
    const TVarRec::Value& value = argument.value();
    if (const auto* wide = std::get_if<WideString>(&value)) return *wide;
    if (const auto* ansi = std::get_if<AnsiString>(&value)) return AnsiToWide(*ansi);
    if (const auto* wideChar = std::get_if<WideChar>(&value)) return WideString(1, *wideChar);
    if (const auto* ansiChar = std::get_if<AnsiChar>(&value)) return AnsiToWide(AnsiString(1, *ansiChar));
    throw EConvertError(Format(SInvalidFormat, {WideToAnsi(specifier)}));
}

// The number after "." in a canonical specifier, or none.
std::optional<std::size_t> numberAfter(const WideString& text, std::size_t from) {
    if (from >= text.size() || !isDigit(text[from])) return std::nullopt;
    std::size_t value = 0;
    while (from < text.size() && isDigit(text[from]))
        value = value * 10 + (text[from++] - u'0');
    return value;
}

// A string specifier keeps every UTF-16 character of its argument.
WideString formatString(const Specifier& specifier, const std::vector<TVarRec>& args) {
    if (specifier.index >= static_cast<Integer>(args.size()))
        throw EConvertError(Format(SArgumentMissing, {WideToAnsi(specifier.text)}));
    WideString text = argumentAsText(args[static_cast<std::size_t>(specifier.index)], specifier.text);
    const WideString& canonical = specifier.canonical;
    const std::size_t afterIndex = canonical.find(u':') + 1;
    const bool leftJustified = canonical[afterIndex] == u'-';
    const std::optional<std::size_t> width = numberAfter(canonical, afterIndex + (leftJustified ? 1 : 0));
    const std::size_t dot = canonical.find(u'.');
    if (const auto precision = dot == WideString::npos ? std::nullopt : numberAfter(canonical, dot + 1))
        text.resize(std::min(text.size(), *precision));
    if (width && text.size() < *width) {
        const WideString padding(*width - text.size(), u' ');
        text = leftJustified ? text + padding : padding + text;
    }
    return text;
}

// What the class library's wide buffer formatter gives: strings stay wide,
// everything else goes through the ANSI formatter.
WideString formatWide(const WideString& format, const std::vector<TVarRec>& args) {
    WideString result;
    TFormatStrParser(format).Parse(
        [&](const WideString& text) { result += text == u"%%" ? u"%" : text; },
        [&](const Specifier& specifier) {
            const bool wideString = typeClassOf(specifier.type) == StringClass && !specifier.usesStar;
            result += wideString ? formatString(specifier, args)
                                 : AnsiToWide(Format(WideToAnsi(specifier.canonical), args));
        });
    return result;
}

} // namespace

WideString GetCanonicalFormatStr(const WideString& Format) {
    TFormatStrParser parser(Format);
    WideString canonical;
    parser.Parse([&](const WideString& text) { canonical += text; },
                 [&](const Specifier& specifier) { canonical += specifier.canonical; });
    const bool allExplicit = parser.ImplicitCount() == 0;
    const bool loneImplicit = parser.ExplicitCount() == 0 && parser.ImplicitCount() == 1;
    return allExplicit || loneImplicit ? Format : canonical;
}

WideString ReplaceFloatingArgumentsInFormatString(const WideString& Format,
                                                  const std::vector<TVarRec>& Args) {
    WideString result;
    // The other specifiers keep their argument index, so that removing a
    // floating-point one does not shift the arguments of those after it.
    TFormatStrParser(Format).Parse([&](const WideString& text) { result += text; },
                                   [&](const Specifier& specifier) {
                                       result +=
                                           typeClassOf(specifier.type) == FloatClass
                                               ? AnsiToWide(::Format(WideToAnsi(specifier.canonical), Args))
                                               : specifier.canonical;
                                   });
    return result;
}

void CompareFormatStrings(const WideString& Format1, const WideString& Format2) {
    const std::vector<ArgumentUse> first = argumentUsesOf(Format1), second = argumentUsesOf(Format2);
    if (first.size() != second.size()) throw EFormatSpecError(SMismatchedParameterCount);
    for (std::size_t i = 0; i < first.size(); ++i)
        if (first[i].typeClass != second[i].typeClass)
            mismatchedTypes(static_cast<Integer>(i), first[i].specifier, second[i].specifier);
}

Cardinal Tnt_WideFormatBuf(WideChar* Buffer, Cardinal BufLen, const WideChar* Format, Cardinal FmtLen,
                           const std::vector<TVarRec>& Args) {
    const WideString format(Format, FmtLen);
    const WideString text = formatWide(ReplaceFloatingArgumentsInFormatString(format, Args), Args);
    const auto count = static_cast<Cardinal>(std::min<std::size_t>(text.size(), BufLen));
    std::copy_n(text.begin(), count, Buffer);
    return count;
}

void Tnt_WideFmtStr(WideString& Result, const WideString& Format, const std::vector<TVarRec>& Args) {
    const auto formatLength = static_cast<Cardinal>(Format.size());
    Cardinal size = formatLength >= LongFormatLength ? formatLength : StackBufferSize;
    for (;;) {
        std::vector<WideChar> buffer(size);
        const Cardinal length = Tnt_WideFormatBuf(buffer.data(), size - 1, Format.data(), formatLength, Args);
        if (length < size - 1) {
            Result.assign(buffer.data(), length);
            return;
        }
        size *= 2;
    }
}

WideString Tnt_WideFormat(const WideString& Format, const std::vector<TVarRec>& Args) {
    WideString result;
    Tnt_WideFmtStr(result, Format, Args);
    return result;
}
