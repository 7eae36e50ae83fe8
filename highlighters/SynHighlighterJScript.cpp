#include "highlighters/SynHighlighterJScript.h"

#include "editor/SynEditStrConst.h"
#include "platform/core/CodePages.h"

#include <string_view>
#include <vector>

namespace {

using TtkTokenKind = TSynJScriptSyn::TtkTokenKind;

// Keyword hashes run from 0 to 252; longer or heavier words are plain identifiers.
constexpr Integer IdentFuncTableSize = 253;

// Letters count 1..26 whatever their case and "_" counts 31; digits take part
// in identifiers but add nothing.
constexpr std::array<Byte, 256> makeHashValueTable() {
    std::array<Byte, 256> table{};
    for (int letter = 0; letter < 26; ++letter) {
        table['A' + letter] = static_cast<Byte>(letter + 1);
        table['a' + letter] = static_cast<Byte>(letter + 1);
    }
    table['_'] = 31;
    return table;
}

constexpr std::array<bool, 256> makeIdentifierTable() {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    return table;
}

constexpr std::array<Byte, 256> HashValueTable = makeHashValueTable();
constexpr std::array<bool, 256> IdentifierTable = makeIdentifierTable();

Byte hashValue(char c) {
    return HashValueTable[static_cast<unsigned char>(c)];
}
bool isIdentifierChar(char c) {
    return IdentifierTable[static_cast<unsigned char>(c)];
}
bool isLineEnd(char c) {
    return c == '\0' || c == '\n' || c == '\r';
}
bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
// Control characters and the blank, without NUL and the line breaks.
bool isBlank(char c) {
    return c >= 1 && c <= 32 && c != '\n' && c != '\r';
}

// clang-format off
constexpr const char* ReservedWords[] = {
    "abstract", "boolean", "break", "byte", "callee", "case", "catch", "char", "class", "const",
    "constructor", "continue", "debugger", "default", "delete", "do", "double", "else", "enum",
    "export", "extends", "false", "final", "finally", "float", "for", "function", "goto", "if",
    "implements", "import", "in", "instanceof", "int", "interface", "long", "NaN", "native", "new",
    "null", "package", "private", "protected", "prototype", "public", "return", "short", "start",
    "static", "super", "switch", "synchronized", "this", "throw", "throws", "transient", "true", "try",
    "typeof", "var", "void", "while", "with"
};
constexpr const char* NonReservedWords[] = {
    "abs", "acos", "action", "alert", "align", "alinkColor", "All", "all", "Anchor", "anchor",
    "anchors", "appCodeName", "Applet", "applets", "appName", "appVersion", "Area", "Arguments",
    "arguments", "Array", "asin", "atan", "atan2", "back", "background", "bgColor", "big", "blink",
    "blur", "body", "bold", "Boolean", "border", "bottom", "Button", "call", "caller", "captureEvents",
    "ceil", "charAt", "charCodeAt", "Checkbox", "checked", "clear", "clearInterval", "clearTimeout",
    "click", "close", "closed", "color", "complete", "concat", "confirm", "cookie", "cos", "current",
    "Date", "defaultChecked", "defaultSelected", "defaultStatus", "defaultValue", "description",
    "display", "document", "domain", "E", "elements", "Embed", "embeds", "enabledPlugin", "encoding",
    "escape", "eval", "event", "exp", "fgColor", "filename", "FileUpload", "find", "fixed", "Float",
    "floor", "focus", "fontcolor", "fontsize", "Form", "form", "forms", "forward", "Frame", "frames",
    "fromCharCode", "Function", "getDate", "getDay", "getElementById", "getFullYear", "getHours",
    "getMilliseconds", "getMinutes", "getMonth", "getSeconds", "getTime", "getTimezoneOffset",
    "getUTCDate", "getUTCDay", "getUTCFullYear", "getUTCHours", "getUTCMilliseconds", "getUTCMinutes",
    "getUTCMonth", "getUTCSeconds", "getYear", "Global", "go", "handleEvent", "hash", "height",
    "Hidden", "History", "history", "home", "host", "hostname", "href", "hspace", "Image", "images",
    "index", "indexOf", "Infinity", "innerHeight", "innerWidth", "input", "isFinite", "isNaN",
    "italics", "java", "javaEnabled", "join", "lastIndexOf", "lastModified", "Layer", "layers", "left",
    "length", "Link", "link", "linkColor", "links", "LN10", "LN2", "Location", "location",
    "locationbar", "log", "LOG10E", "LOG2E", "logon", "lowsrc", "match", "Math", "max", "MAX_VALUE",
    "menubar", "method", "MimeType", "mimeTypes", "min", "MIN_VALUE", "moveBy", "moveTo", "name",
    "Navigator", "navigator", "NEGATIVE_INFINITY", "netscape", "next", "Null", "Number", "Object",
    "open", "opener", "Option", "options", "outerHeight", "outerWidth", "Packages", "pageX",
    "pageXOffset", "pageY", "pageYOffset", "parent", "parse", "parseFloat", "parseInt", "Password",
    "pathname", "personalbar", "PI", "platform", "Plugin", "plugins", "port", "POSITIVE_INFINITY",
    "pow", "previous", "print", "prompt", "protocol", "Radio", "random", "referrer", "refresh",
    "RegExp", "releaseEvents", "reload", "replace", "Reset", "reset", "resizeBy", "resizeTo", "reverse",
    "right", "round", "routeEvent", "screen", "scroll", "scrollbars", "scrollBy", "scrollTo", "search",
    "Select", "select", "selected", "selectedIndex", "self", "setDate", "setFullYear", "setHours",
    "setInterval", "setMilliseconds", "setMinutes", "setMonth", "setSeconds", "setTime", "setTimeout",
    "setUTCDate", "setUTCFullYear", "setUTCHours", "setUTCMilliseconds", "setUTCMinutes", "setUTCMonth",
    "setUTCSeconds", "setYear", "sin", "slice", "small", "sort", "split", "sqrt", "SQRT1_2", "SQRT2",
    "src", "status", "statusbar", "stop", "strike", "String", "style", "sub", "Submit", "submit",
    "substr", "substring", "suffixes", "sup", "tags", "taint", "taintEnabled", "tan", "target", "Text",
    "text", "Textarea", "title", "toGMTString", "toLocaleString", "toLowerCase", "toolbar", "top",
    "toSource", "toString", "toUpperCase", "toUTCString", "type", "Undefined", "undefined", "unescape",
    "untaint", "unwatch", "URL", "userAgent", "UTC", "value", "valueOf", "visibility", "vlinkColor",
    "vspace", "watch", "width", "Window", "window", "write", "writeln", "zIndex"
};
constexpr const char* EventNames[] = {
    "onAbort", "onBlur", "onChange", "onClick", "onDblClick", "onError", "onFocus", "onKeyDown",
    "onKeyPress", "onKeyUp", "onLoad", "onMouseDown", "onMouseMove", "onMouseOut", "onMouseOver",
    "onMouseUp", "onReset", "onSelect", "onSubmit", "onUnload"
};
// clang-format on

struct TKeyword {
    std::string_view Word;
    TtkTokenKind Kind;
};

Integer hashOf(std::string_view word) {
    Integer hash = 0;
    for (char c : word)
        hash += hashValue(c);
    return hash;
}

// Each used slot holds the words of that hash, in the order of the lists.
using TKeywordTable = std::array<std::vector<TKeyword>, IdentFuncTableSize>;

TKeywordTable makeKeywordTable() {
    TKeywordTable table;
    auto addAll = [&table](const auto& words, TtkTokenKind kind) {
        for (std::string_view word : words)
            table[hashOf(word)].push_back({word, kind});
    };
    addAll(ReservedWords, TSynJScriptSyn::tkKey);
    addAll(NonReservedWords, TSynJScriptSyn::tkNonReservedKey);
    addAll(EventNames, TSynJScriptSyn::tkEvent);
    return table;
}

const TKeywordTable& keywordTable() {
    static const TKeywordTable table = makeKeywordTable();
    return table;
}

constexpr const char* SampleSourceLines[] = {
    "// Syntax highlighting",
    "function printNumber()",
    "{",
    "  var number = 1234;",
    "  var x;",
    "  document.write(\"The number is \" + number);",
    "  for (var i = 0; i <= number; i++)",
    "  {",
    "    x++;",
    "    x--;",
    "    x += 1.0;",
    "  }",
    "  i += @; // illegal character",
    "}",
    "body.onLoad = printNumber;",
};

} // namespace

const TClass TSynJScriptSynClass =
    DescribeClass<TSynJScriptSyn, TSynCustomHighlighter>([](TClassBuilder<TSynJScriptSyn>& c) {
        c.Property("CommentAttri", &TSynJScriptSyn::CommentAttri);
        c.Property("EventAttri", &TSynJScriptSyn::EventAttri);
        c.Property("IdentifierAttri", &TSynJScriptSyn::IdentifierAttri);
        c.Property("KeyAttri", &TSynJScriptSyn::KeyAttri);
        c.Property("NonReservedKeyAttri", &TSynJScriptSyn::NonReservedKeyAttri);
        c.Property("NumberAttri", &TSynJScriptSyn::NumberAttri);
        c.Property("SpaceAttri", &TSynJScriptSyn::SpaceAttri);
        c.Property("StringAttri", &TSynJScriptSyn::StringAttri);
        c.Property("SymbolAttri", &TSynJScriptSyn::SymbolAttri);
    });

namespace {
const bool registered = [] {
    RegisterPlaceableHighlighter(SynHighlighterClass<TSynJScriptSyn>());
    return true;
}();
} // namespace

TSynJScriptSyn::TSynJScriptSyn(TComponent* AOwner) : TSynCustomHighlighter(AOwner) {
    CommentAttri_ = addStyledAttribute(SYNS_AttrComment, TFontStyles{fsItalic});
    IdentifierAttri_ = addStyledAttribute(SYNS_AttrIdentifier, TFontStyles{});
    KeyAttri_ = addStyledAttribute(SYNS_AttrReservedWord, TFontStyles{fsBold});
    NonReservedKeyAttri_ = addStyledAttribute(SYNS_AttrNonReservedKeyword, TFontStyles{});
    EventAttri_ = addStyledAttribute(SYNS_AttrEvent, TFontStyles{});
    NumberAttri_ = addStyledAttribute(SYNS_AttrNumber, TFontStyles{});
    SpaceAttri_ = addStyledAttribute(SYNS_AttrSpace, TFontStyles{});
    StringAttri_ = addStyledAttribute(SYNS_AttrString, TFontStyles{});
    SymbolAttri_ = addStyledAttribute(SYNS_AttrSymbol, TFontStyles{});
    SetAttributesOnChange(TNotifyEvent(this, &TSynJScriptSyn::DefHighlightChange));
    // The shared keyword table is built here, not while the first line is scanned.
    keywordTable();
    MakeMethodTables();
    SetDefaultFilter(SYNS_FilterJScript);
    Range = rsUnknown;
}

TSynHighlighterAttributes* TSynJScriptSyn::addStyledAttribute(const char* Name, TFontStyles Style) {
    auto* attribute = new TSynHighlighterAttributes(Name);
    attribute->SetStyle(Style);
    AddAttribute(attribute);
    return attribute;
}

AnsiString TSynJScriptSyn::GetLanguageName() {
    return SYNS_LangJScript;
}

bool TSynJScriptSyn::IsFilterStored() const {
    return GetDefaultFilter() != SYNS_FilterJScript;
}

TSynHighlighterAttributes* TSynJScriptSyn::GetDefaultAttribute(Integer Index) const {
    switch (Index) {
    case SYN_ATTR_COMMENT:
        return CommentAttri_;
    case SYN_ATTR_IDENTIFIER:
        return IdentifierAttri_;
    case SYN_ATTR_KEYWORD:
        return KeyAttri_;
    case SYN_ATTR_STRING:
        return StringAttri_;
    case SYN_ATTR_WHITESPACE:
        return SpaceAttri_;
    case SYN_ATTR_SYMBOL:
        return SymbolAttri_;
    default:
        return nullptr;
    }
}

TSynIdentChars TSynJScriptSyn::GetIdentChars() const {
    return WordIdentChars();
}

AnsiString TSynJScriptSyn::GetSampleSource() const {
    return JoinSampleLines(SampleSourceLines);
}

void TSynJScriptSyn::MakeMethodTables() {
    for (int c = 0; c < 256; ++c) {
        TProcTableProc proc = &TSynJScriptSyn::UnknownProc;
        if (c == 0)
            proc = &TSynJScriptSyn::NullProc;
        else if (c == '\n')
            proc = &TSynJScriptSyn::LFProc;
        else if (c == '\r')
            proc = &TSynJScriptSyn::CRProc;
        else if (c <= 32)
            proc = &TSynJScriptSyn::SpaceProc;
        else if (std::string_view("!(),:;<=>?[]{}~").find(static_cast<char>(c)) != std::string_view::npos)
            proc = &TSynJScriptSyn::SymbolProc;
        else if (c == '"' || c == '\'')
            proc = &TSynJScriptSyn::StringProc;
        else if (c == '%')
            proc = &TSynJScriptSyn::ModSymbolProc;
        else if (c == '&')
            proc = &TSynJScriptSyn::AndSymbolProc;
        else if (c == '*')
            proc = &TSynJScriptSyn::StarProc;
        else if (c == '+')
            proc = &TSynJScriptSyn::PlusProc;
        else if (c == '-')
            proc = &TSynJScriptSyn::MinusProc;
        else if (c == '.')
            proc = &TSynJScriptSyn::PointProc;
        else if (c == '/')
            proc = &TSynJScriptSyn::SlashProc;
        else if (c >= '0' && c <= '9')
            proc = &TSynJScriptSyn::NumberProc;
        else if (isIdentifierChar(static_cast<char>(c)))
            proc = &TSynJScriptSyn::IdentProc;
        else if (c == '|')
            proc = &TSynJScriptSyn::OrSymbolProc;
        ProcTable[c] = proc;
    }
}

// ---- Keywords ------------------------------------------------------------------

Integer TSynJScriptSyn::KeyHash(const char* Start) {
    Integer hash = 0;
    const char* p = Start;
    while (isIdentifierChar(*p))
        hash += hashValue(*p++);
    IdentLen = static_cast<Integer>(p - Start);
    return hash;
}

bool TSynJScriptSyn::KeyComp(const char* Key) const {
    const std::string_view key(Key);
    return static_cast<Integer>(key.size()) == IdentLen && key == std::string_view(IdentStart, IdentLen);
}

TtkTokenKind TSynJScriptSyn::IdentKind(const char* Start) {
    IdentStart = Start;
    const Integer hash = KeyHash(Start);
    if (hash >= IdentFuncTableSize) return tkIdentifier;
    for (const TKeyword& keyword : keywordTable()[hash])
        if (KeyComp(keyword.Word.data())) return keyword.Kind;
    return tkIdentifier;
}

// ---- Token protocol ------------------------------------------------------------

void TSynJScriptSyn::SetLine(const AnsiString& NewValue, Integer ALineNumber) {
    Line = NewValue;
    LinePtr = Line.c_str();
    ScanPos = 0;
    LineNumber = ALineNumber;
    Next();
}

void TSynJScriptSyn::Next() {
    TokenPos = ScanPos;
    if (Range == rsANSI)
        CommentProc();
    else
        (this->*ProcTable[static_cast<unsigned char>(current())])();
}

bool TSynJScriptSyn::GetEol() const {
    return TokenKind == tkNull;
}

AnsiString TSynJScriptSyn::GetToken() const {
    return AnsiString(LinePtr + TokenPos, ScanPos - TokenPos);
}

Integer TSynJScriptSyn::GetTokenPos() const {
    return TokenPos;
}

Integer TSynJScriptSyn::GetTokenKind() const {
    return TokenKind;
}

TSynJScriptSyn::TtkTokenKind TSynJScriptSyn::GetTokenID() const {
    return TokenKind;
}

TSynHighlighterAttributes* TSynJScriptSyn::GetTokenAttribute() const {
    switch (TokenKind) {
    case tkComment:
        return CommentAttri_;
    case tkIdentifier:
    case tkUnknown:
        return IdentifierAttri_;
    case tkKey:
        return KeyAttri_;
    case tkNonReservedKey:
        return NonReservedKeyAttri_;
    case tkEvent:
        return EventAttri_;
    case tkNumber:
        return NumberAttri_;
    case tkSpace:
        return SpaceAttri_;
    case tkString:
        return StringAttri_;
    case tkSymbol:
        return SymbolAttri_;
    case tkNull:
        return nullptr;
    }
    return nullptr;
}

TSynRangeValue TSynJScriptSyn::GetRange() const {
    return Range;
}

void TSynJScriptSyn::SetRange(TSynRangeValue Value) {
    Range = static_cast<TRangeState>(Value & 0xFF);
}

void TSynJScriptSyn::ResetRange() {
    Range = rsUnknown;
}

// ---- Token procedures ----------------------------------------------------------

void TSynJScriptSyn::advanceIfNextIsOneOf(const char* Characters) {
    const char c = current();
    if (c != '\0' && std::string_view(Characters).find(c) != std::string_view::npos) ++ScanPos;
}

void TSynJScriptSyn::NullProc() {
    TokenKind = tkNull;
}

void TSynJScriptSyn::SpaceProc() {
    ++ScanPos;
    TokenKind = tkSpace;
    while (isBlank(current()))
        ++ScanPos;
}

void TSynJScriptSyn::CRProc() {
    TokenKind = tkSpace;
    ++ScanPos;
    if (current() == '\n') ++ScanPos;
}

void TSynJScriptSyn::LFProc() {
    TokenKind = tkSpace;
    ++ScanPos;
}

void TSynJScriptSyn::SymbolProc() {
    ++ScanPos;
    TokenKind = tkSymbol;
}

void TSynJScriptSyn::AndSymbolProc() {
    TokenKind = tkSymbol;
    ++ScanPos;
    advanceIfNextIsOneOf("&=");
}

void TSynJScriptSyn::OrSymbolProc() {
    TokenKind = tkSymbol;
    ++ScanPos;
    advanceIfNextIsOneOf("|=");
}

void TSynJScriptSyn::PlusProc() {
    TokenKind = tkSymbol;
    ++ScanPos;
    advanceIfNextIsOneOf("+=");
}

void TSynJScriptSyn::MinusProc() {
    TokenKind = tkSymbol;
    ++ScanPos;
    advanceIfNextIsOneOf("-=>");
}

void TSynJScriptSyn::StarProc() {
    TokenKind = tkSymbol;
    ++ScanPos;
    advanceIfNextIsOneOf("=");
}

void TSynJScriptSyn::ModSymbolProc() {
    TokenKind = tkSymbol;
    ++ScanPos;
    advanceIfNextIsOneOf("=");
}

void TSynJScriptSyn::PointProc() {
    TokenKind = tkSymbol;
    ++ScanPos;
    if (current() == '.' && following() == '.') ScanPos += 2;
}

void TSynJScriptSyn::SlashProc() {
    ++ScanPos;
    switch (current()) {
    case '*':
        TokenKind = tkComment;
        Range = rsANSI;
        scanBlockComment();
        break;
    case '/':
        TokenKind = tkComment;
        while (!isLineEnd(current()))
            ++ScanPos;
        break;
    case '=':
        ++ScanPos;
        TokenKind = tkSymbol;
        break;
    default:
        TokenKind = tkSymbol;
    }
}

// Starts on the "*" of "/*": that star never closes the comment, so "/*/" stays open.
void TSynJScriptSyn::scanBlockComment() {
    do {
        ++ScanPos;
        if (current() == '*' && following() == '/') {
            Range = rsUnknown;
            ScanPos += 2;
            return;
        }
    } while (!isLineEnd(current()));
}

void TSynJScriptSyn::CommentProc() {
    if (current() == '\0') {
        TokenKind = tkNull;
        return;
    }
    TokenKind = tkComment;
    do {
        if (current() == '*' && following() == '/') {
            Range = rsUnknown;
            ScanPos += 2;
            return;
        }
        ++ScanPos;
    } while (!isLineEnd(current()));
}

void TSynJScriptSyn::StringProc() {
    TokenKind = tkString;
    const char quote = current();
    // Tested one after the other so that nothing past the line's end is read.
    if (following() == quote && charAt(ScanPos + 2) == quote) ScanPos += 2;
    while (!isLineEnd(current())) {
        ++ScanPos;
        if (current() == quote && charAt(ScanPos - 1) != '\\') break;
    }
    if (current() != '\0') ++ScanPos;
}

void TSynJScriptSyn::NumberProc() {
    TokenKind = tkNumber;
    const Integer start = ScanPos;
    ++ScanPos;
    bool hex = false;
    for (;;) {
        const char c = current();
        if (c == '.') {
            if (following() == '.') return;
        } else if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) {
            if (!hex) return;
        } else if (c == 'X' || c == 'x') {
            if (charAt(start) != '0' || ScanPos != start + 1 || !isHexDigit(following())) return;
            hex = true;
        } else if (c < '0' || c > '9') {
            return;
        }
        ++ScanPos;
    }
}

void TSynJScriptSyn::IdentProc() {
    TokenKind = IdentKind(LinePtr + ScanPos);
    ScanPos += IdentLen;
    while (isIdentifierChar(current()))
        ++ScanPos;
}

void TSynJScriptSyn::UnknownProc() {
    // A lead byte takes its trail byte along, unless the line ends there.
    if (IsDBCSLeadByte(static_cast<Byte>(current())) && following() != '\0')
        ScanPos += 2;
    else
        ++ScanPos;
    TokenKind = tkUnknown;
}
