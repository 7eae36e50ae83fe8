// Parser and printer of the text form format.
#include "platform/vcl/FormText.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace formtext {
namespace {

constexpr std::size_t StringChunkLength = 64;
constexpr std::size_t BinaryBytesPerLine = 32;
constexpr int IndentStep = 2;
constexpr unsigned MaxCharCode = 0xFFFF;
constexpr unsigned MaxAnsiCode = 0xFF;
constexpr std::size_t MaxShortStringLength = 255;
// Objects, lists and collections within each other, deeper than any form
// nests them; the reader recurses for each level and must not run out of stack.
constexpr int MaxNesting = 256;
// Form resources are kept in the repository with Unix line ends.
constexpr const char* LineBreak = "\n";

bool isIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isIdentChar(char c) {
    return isIdentStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '.';
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One piece of a string token: a run of quoted bytes, or one #nnn code.
struct StringPiece {
    bool IsCode = false;
    AnsiString Bytes;
    unsigned Code = 0;
};

FormValue stringValueFromPieces(const std::vector<StringPiece>& pieces) {
    bool wide = false;
    for (const StringPiece& piece : pieces)
        wide = wide || (piece.IsCode && piece.Code > MaxAnsiCode);
    if (!wide) {
        AnsiString text;
        for (const StringPiece& piece : pieces)
            text += piece.IsCode ? AnsiString(1, static_cast<char>(piece.Code)) : piece.Bytes;
        return StringValue(text);
    }
    // Codes are UTF-16 code units here; the quoted bytes are in the ANSI code page.
    WideString text;
    for (const StringPiece& piece : pieces)
        text += piece.IsCode ? WideString(1, static_cast<WideChar>(piece.Code)) : AnsiToWide(piece.Bytes);
    return WideStringValue(text);
}

class Parser {
public:
    explicit Parser(const AnsiString& text) : text_(text) {}
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    FormObject parseTopObject() {
        skipBlanks();
        FormObject object = parseObject(readIdent());
        skipBlanks();
        if (!atEnd()) fail("Invalid stream format");
        return object;
    }

    FormObject parseObjectHeader() {
        skipBlanks();
        FormObject object;
        object.Kind = objectKind(readIdent());
        readHeaderNames(object);
        return object;
    }

private:
    // One level of nesting for as long as it lives.
    class NestingLevel {
    public:
        explicit NestingLevel(Parser& parser) : parser_(parser) {
            if (++parser_.nesting_ > MaxNesting) parser_.fail("Form is nested too deeply");
        }
        ~NestingLevel() { --parser_.nesting_; }
        NestingLevel(const NestingLevel&) = delete;
        NestingLevel& operator=(const NestingLevel&) = delete;

    private:
        Parser& parser_;
    };

    static std::optional<ObjectKind> keywordKind(const AnsiString& word) {
        if (SameText(word, "object")) return ObjectKind::Object;
        if (SameText(word, "inherited")) return ObjectKind::Inherited;
        if (SameText(word, "inline")) return ObjectKind::Inline;
        return std::nullopt;
    }

    ObjectKind objectKind(const AnsiString& keyword) {
        std::optional<ObjectKind> kind = keywordKind(keyword);
        if (!kind) fail("'object' expected");
        return *kind;
    }

    void readHeaderNames(FormObject& object) {
        AnsiString first = readIdent();
        skipBlanks();
        if (peek() == ':') {
            ++position_;
            object.Name = first;
            object.ClassName = readIdent();
        } else {
            object.ClassName = first;
        }
        skipBlanks();
        if (peek() == '[') {
            ++position_;
            object.Position = static_cast<Integer>(readInteger());
            expect(']');
        }
    }

    FormObject parseObject(const AnsiString& keyword) {
        const NestingLevel level(*this);
        FormObject object;
        object.Kind = objectKind(keyword);
        readHeaderNames(object);
        for (;;) {
            AnsiString word = readIdent();
            if (SameText(word, "end")) return object;
            if (keywordKind(word))
                object.Children.push_back(parseObject(word));
            else
                object.Properties.push_back(parseProperty(word));
        }
    }

    FormProperty parseProperty(const AnsiString& name) {
        expect('=');
        return FormProperty{name, parseValue()};
    }

    FormValue parseValue() {
        skipBlanks();
        char c = peek();
        if (c == '\'' || c == '#') return parseString();
        if (c == '-' || c == '$' || isDigit(c)) return parseNumber();
        if (c == '[') return parseSet();
        if (c == '(') return parseList();
        if (c == '{') return parseBinary();
        if (c == '<') return parseCollection();
        if (isIdentStart(c)) return IdentValue(readIdent());
        fail("Invalid property value");
    }

    FormValue parseString() {
        std::vector<StringPiece> pieces;
        for (;;) {
            while (peek() == '\'' || peek() == '#')
                pieces.push_back(peek() == '#' ? readCharCode() : readQuoted());
            skipBlanks();
            if (peek() != '+') break;
            ++position_;
            skipBlanks();
            if (peek() != '\'' && peek() != '#') fail("String expected");
        }
        return stringValueFromPieces(pieces);
    }

    StringPiece readQuoted() {
        ++position_;
        StringPiece piece;
        for (;;) {
            if (atEnd() || peek() == '\n' || peek() == '\r') fail("Unterminated string");
            char c = text_[position_++];
            if (c != '\'') {
                piece.Bytes += c;
            } else if (peek() == '\'') {
                piece.Bytes += '\'';
                ++position_;
            } else {
                return piece;
            }
        }
    }

    StringPiece readCharCode() {
        ++position_;
        Int64 code = readUnsigned();
        if (code > MaxCharCode) fail("Invalid string constant");
        StringPiece piece;
        piece.IsCode = true;
        piece.Code = static_cast<unsigned>(code);
        return piece;
    }

    // Decimal digits, or "$" and hexadecimal digits.
    Int64 readUnsigned() {
        bool hex = peek() == '$';
        if (hex) ++position_;
        std::size_t start = position_;
        while (!atEnd() && (hex ? hexDigitValue(peek()) >= 0 : isDigit(peek())))
            ++position_;
        if (start == position_) fail("Number expected");
        UInt64 value = 0;
        auto result = std::from_chars(text_.data() + start, text_.data() + position_, value, hex ? 16 : 10);
        if (result.ec != std::errc()) fail("Number expected");
        return static_cast<Int64>(value);
    }

    Int64 readInteger() {
        skipBlanks();
        bool negative = peek() == '-';
        if (negative) ++position_;
        Int64 value = readUnsigned();
        return negative ? -value : value;
    }

    FormValue parseNumber() {
        std::size_t start = position_;
        if (peek() == '-') ++position_;
        if (peek() == '$') {
            position_ = start;
            return IntegerValue(readInteger());
        }
        while (isDigit(peek()))
            ++position_;
        bool isFloat = false;
        if (peek() == '.') {
            isFloat = true;
            ++position_;
            while (isDigit(peek()))
                ++position_;
        }
        if (peek() == 'e' || peek() == 'E') {
            isFloat = true;
            ++position_;
            if (peek() == '+' || peek() == '-') ++position_;
            while (isDigit(peek()))
                ++position_;
        }
        std::string_view digits(text_.data() + start, position_ - start);
        return isFloat ? floatFrom(digits) : integerFrom(digits);
    }

    FormValue floatFrom(std::string_view digits) {
        double value = 0;
        // from_chars does not take a leading '+' but does take '-'.
        auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) fail("Number expected");
        FormValue number = FloatValue(value);
        char suffix = static_cast<char>(std::tolower(static_cast<unsigned char>(peek())));
        if (suffix == 's' || suffix == 'c' || suffix == 'd') {
            number.Type = suffix == 's' ? vaSingle : suffix == 'c' ? vaCurrency : vaDate;
            ++position_;
        }
        return number;
    }

    FormValue integerFrom(std::string_view digits) {
        Int64 value = 0;
        auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) fail("Number expected");
        return IntegerValue(value);
    }

    FormValue parseSet() {
        ++position_;
        FormValue set;
        set.Type = vaSet;
        skipBlanks();
        if (peek() == ']') {
            ++position_;
            return set;
        }
        for (;;) {
            set.Names.push_back(readIdent());
            skipBlanks();
            char c = text_[position_];
            if (atEnd() || (c != ',' && c != ']')) fail("']' expected");
            ++position_;
            if (c == ']') return set;
        }
    }

    FormValue parseList() {
        const NestingLevel level(*this);
        ++position_;
        FormValue list;
        list.Type = vaList;
        for (;;) {
            skipBlanks();
            if (peek() == ')') {
                ++position_;
                return list;
            }
            if (atEnd()) fail("')' expected");
            list.List.push_back(parseValue());
        }
    }

    FormValue parseBinary() {
        ++position_;
        FormValue binary;
        binary.Type = vaBinary;
        for (;;) {
            skipBlanks();
            if (peek() == '}') {
                ++position_;
                return binary;
            }
            int high = hexDigitValue(peek());
            int low = position_ + 1 < text_.size() ? hexDigitValue(text_[position_ + 1]) : -1;
            if (high < 0 || low < 0) fail("Invalid binary value");
            binary.Text += static_cast<char>(high * 16 + low);
            position_ += 2;
        }
    }

    FormValue parseCollection() {
        const NestingLevel level(*this);
        ++position_;
        FormValue collection;
        collection.Type = vaCollection;
        for (;;) {
            skipBlanks();
            if (peek() == '>') {
                ++position_;
                return collection;
            }
            if (!SameText(readIdent(), "item")) fail("'item' expected");
            skipBlanks();
            if (peek() == '[') {
                // An item's order value: kept by the binary format only.
                ++position_;
                readInteger();
                expect(']');
            }
            collection.Items.push_back(parseItem());
        }
    }

    FormItem parseItem() {
        FormItem item;
        for (;;) {
            AnsiString word = readIdent();
            if (SameText(word, "end")) return item;
            item.Properties.push_back(parseProperty(word));
        }
    }

    AnsiString readIdent() {
        skipBlanks();
        if (!isIdentStart(peek())) fail("Identifier expected");
        std::size_t start = position_;
        while (!atEnd() && isIdentChar(peek()))
            ++position_;
        return text_.substr(start, position_ - start);
    }

    void expect(char c) {
        skipBlanks();
        if (peek() != c) fail(AnsiString("'") + c + "' expected");
        ++position_;
    }

    void skipBlanks() {
        while (!atEnd() && static_cast<unsigned char>(peek()) <= ' ') {
            if (peek() == '\n') ++line_;
            ++position_;
        }
    }

    bool atEnd() const { return position_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[position_]; }

    [[noreturn]] void fail(const AnsiString& message) const {
        throw EParserError(Format("%s on line %d", {message, line_}));
    }

    const AnsiString& text_;
    std::size_t position_ = 0;
    Integer line_ = 1;
    int nesting_ = 0;
};

// --- Printing ---------------------------------------------------------------

AnsiString spaces(int indent) {
    return AnsiString(static_cast<std::size_t>(indent), ' ');
}

bool isPrintable(unsigned code) {
    return code >= ' ' && code <= '~';
}

// One string chunk as quoted runs and #nnn codes.
template <typename Unit> AnsiString renderChunk(const std::basic_string<Unit>& text) {
    if (text.empty()) return "''";
    AnsiString out;
    bool quoted = false;
    for (Unit unit : text) {
        unsigned code = static_cast<unsigned>(static_cast<std::make_unsigned_t<Unit>>(unit));
        if (isPrintable(code)) {
            if (!quoted) out += '\'';
            quoted = true;
            out += static_cast<char>(code);
            if (code == '\'') out += '\'';
        } else {
            if (quoted) out += '\'';
            quoted = false;
            out += '#' + std::to_string(code);
        }
    }
    if (quoted) out += '\'';
    return out;
}

template <typename Unit> std::vector<AnsiString> renderChunks(const std::basic_string<Unit>& text) {
    std::vector<AnsiString> chunks;
    for (std::size_t start = 0; start < text.size() || chunks.empty(); start += StringChunkLength)
        chunks.push_back(renderChunk(text.substr(start, StringChunkLength)));
    return chunks;
}

// The shortest text that reads back as the same double, always with a
// decimal point so that it stays a float: "2.0", "0.25", "1.0E20", "1.5E-7".
AnsiString formatFloat(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    AnsiString text(buffer, result.ptr);
    std::size_t exponentAt = text.find('e');
    AnsiString mantissa = text.substr(0, exponentAt);
    if (mantissa.find('.') == AnsiString::npos) mantissa += ".0";
    if (exponentAt == AnsiString::npos) return mantissa;
    Integer exponent = 0;
    AnsiString digits = text.substr(exponentAt + 1);
    std::from_chars(digits.data() + (digits[0] == '+' ? 1 : 0), digits.data() + digits.size(), exponent);
    return mantissa + "E" + std::to_string(exponent);
}

AnsiString toHex(const AnsiString& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    AnsiString hex;
    for (char byte : bytes) {
        auto value = static_cast<unsigned char>(byte);
        hex += digits[value >> 4];
        hex += digits[value & 0x0F];
    }
    return hex;
}

class Printer {
public:
    AnsiString take() { return std::move(out_); }

    void printObject(const FormObject& object, int indent) {
        static const char* const keywords[] = {"object", "inherited", "inline"};
        AnsiString head = keywords[static_cast<int>(object.Kind)];
        head += ' ';
        if (!object.Name.empty()) head += object.Name + ": ";
        head += object.ClassName;
        if (object.Position) head += " [" + std::to_string(*object.Position) + "]";
        line(indent, head);
        for (const FormProperty& property : object.Properties)
            printProperty(property, indent + IndentStep);
        for (const FormObject& child : object.Children)
            printObject(child, indent + IndentStep);
        line(indent, "end");
    }

private:
    void line(int indent, const AnsiString& text) { out_ += spaces(indent) + text + LineBreak; }
    void newLine(int indent) { out_ += LineBreak + spaces(indent); }

    void printProperty(const FormProperty& property, int indent) {
        out_ += spaces(indent) + property.Name + " =";
        if (!isLongString(property.Value)) out_ += ' ';
        printValue(property.Value, indent, false);
        out_ += LineBreak;
    }

    static bool isLongString(const FormValue& value) {
        std::size_t length = value.Type == vaWString ? value.Wide.size() : value.Text.size();
        return isString(value) && length > StringChunkLength;
    }

    static bool isString(const FormValue& value) {
        return value.Type == vaString || value.Type == vaLString || value.Type == vaWString ||
               value.Type == vaUTF8String;
    }

    // The value continues the current line; lines it adds are indented one
    // step more than indent. In a list a long string stays at the item's indent.
    void printValue(const FormValue& value, int indent, bool inList) {
        switch (value.Type) {
        case vaList:
            return printList(value, indent);
        case vaCollection:
            return printCollection(value, indent);
        case vaBinary:
            return printBinary(value, indent);
        case vaSet:
            return printSet(value);
        default:
            break;
        }
        if (isString(value)) return printString(value, inList ? indent : indent + IndentStep, !inList);
        out_ += scalarText(value);
    }

    static AnsiString scalarText(const FormValue& value) {
        switch (value.Type) {
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            return std::to_string(value.Integer);
        case vaExtended:
            return formatFloat(value.Float);
        case vaSingle:
            return formatFloat(value.Float) + "s";
        case vaCurrency:
            return formatFloat(value.Float) + "c";
        case vaDate:
            return formatFloat(value.Float) + "d";
        case vaTrue:
            return "True";
        case vaFalse:
            return "False";
        case vaNil:
            return "nil";
        case vaNull:
            return "Null";
        default:
            return value.Text;
        }
    }

    void printString(const FormValue& value, int chunkIndent, bool breakBeforeLong) {
        std::vector<AnsiString> chunks =
            value.Type == vaWString ? renderChunks(value.Wide) : renderChunks(value.Text);
        if (chunks.size() > 1 && breakBeforeLong) newLine(chunkIndent);
        for (std::size_t i = 0; i < chunks.size(); ++i) {
            if (i > 0) newLine(chunkIndent);
            out_ += chunks[i];
            if (i + 1 < chunks.size()) out_ += " +";
        }
    }

    void printSet(const FormValue& value) {
        out_ += '[';
        for (std::size_t i = 0; i < value.Names.size(); ++i)
            out_ += (i ? ", " : "") + value.Names[i];
        out_ += ']';
    }

    void printList(const FormValue& value, int indent) {
        out_ += '(';
        for (const FormValue& item : value.List) {
            newLine(indent + IndentStep);
            printValue(item, indent + IndentStep, true);
        }
        out_ += ')';
    }

    void printBinary(const FormValue& value, int indent) {
        out_ += '{';
        for (std::size_t start = 0; start < value.Text.size(); start += BinaryBytesPerLine) {
            newLine(indent + IndentStep);
            out_ += toHex(value.Text.substr(start, BinaryBytesPerLine));
        }
        out_ += '}';
    }

    void printCollection(const FormValue& value, int indent) {
        out_ += '<';
        for (const FormItem& item : value.Items) {
            newLine(indent + IndentStep);
            out_ += "item";
            out_ += LineBreak;
            for (const FormProperty& property : item.Properties)
                printProperty(property, indent + 2 * IndentStep);
            out_ += spaces(indent + IndentStep) + "end";
        }
        out_ += '>';
    }

    AnsiString out_;
};

} // namespace

FormObject ParseFormText(const AnsiString& Text) {
    return Parser(Text).parseTopObject();
}

AnsiString PrintFormText(const FormObject& Object) {
    Printer printer;
    printer.printObject(Object, 0);
    return printer.take();
}

AnsiString TopClassName(const AnsiString& Text) {
    try {
        return Parser(Text).parseObjectHeader().ClassName;
    } catch (const EParserError&) {
        // Not a form resource: it has no class name to be found by.
        return {};
    }
}

FormValue IntegerValue(Int64 Value) {
    FormValue value;
    value.Integer = Value;
    if (Value >= std::numeric_limits<std::int8_t>::min() && Value <= std::numeric_limits<std::int8_t>::max())
        value.Type = vaInt8;
    else if (Value >= std::numeric_limits<std::int16_t>::min() &&
             Value <= std::numeric_limits<std::int16_t>::max())
        value.Type = vaInt16;
    else if (Value >= std::numeric_limits<std::int32_t>::min() &&
             Value <= std::numeric_limits<std::int32_t>::max())
        value.Type = vaInt32;
    else
        value.Type = vaInt64;
    return value;
}

FormValue FloatValue(double Value) {
    FormValue value;
    value.Type = vaExtended;
    value.Float = Value;
    return value;
}

FormValue StringValue(const AnsiString& Value) {
    FormValue value;
    value.Type = Value.size() <= MaxShortStringLength ? vaString : vaLString;
    value.Text = Value;
    return value;
}

FormValue WideStringValue(const WideString& Value) {
    FormValue value;
    value.Type = vaWString;
    value.Wide = Value;
    return value;
}

FormValue IdentValue(const AnsiString& Ident) {
    if (SameText(Ident, "True")) return BooleanValue(true);
    if (SameText(Ident, "False")) return BooleanValue(false);
    FormValue value;
    value.Type = SameText(Ident, "nil") ? vaNil : vaIdent;
    value.Text = Ident;
    return value;
}

FormValue BooleanValue(bool Value) {
    FormValue value;
    value.Type = Value ? vaTrue : vaFalse;
    value.Text = Value ? "True" : "False";
    return value;
}

} // namespace formtext
