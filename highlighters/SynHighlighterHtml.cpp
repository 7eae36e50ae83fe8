#include "highlighters/SynHighlighterHtml.h"

#include "editor/SynEditStrConst.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace {

using TtkTokenKind = TSynHTMLSyn::TtkTokenKind;

// Tag-name hashes run from 0 to 250; heavier names are plain identifiers.
constexpr Integer IdentFuncTableSize = 251;

constexpr TColor KeyForeground = 0x00FF0080;
constexpr TColor UndefKeyForeground = 0x000000FF;
constexpr TColor ValueForeground = 0x00FF8000;
constexpr TColor AmpersandForeground = 0x0000FF00;

// "!" and "/" belong to tag names ("!DOCTYPE", "/P"); letters count 1..26
// whatever their case. Digits count 0 here: the hash adds their values apart.
constexpr std::array<Byte, 256> makeHashValueTable() {
    std::array<Byte, 256> table{};
    for (int letter = 0; letter < 26; ++letter) {
        table['A' + letter] = static_cast<Byte>(letter + 1);
        table['a' + letter] = static_cast<Byte>(letter + 1);
    }
    table['!'] = 123;
    table['/'] = 122;
    return table;
}

constexpr std::array<Byte, 256> HashValueTable = makeHashValueTable();

unsigned code(char c) {
    return static_cast<unsigned char>(c);
}
Byte hashValue(char c) {
    return HashValueTable[code(c)];
}
bool isLineEnd(char c) {
    return c == '\0' || c == '\n' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool isTagNameChar(char c) {
    return c == '!' || c == '/' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
// Blanks and control characters end words inside tags.
bool isBelow33(char c) {
    return code(c) < 33;
}

// clang-format off
constexpr const char* OpeningTagNames[] = {
    "A", "ABBR", "ACRONYM", "ADDRESS", "APPLET", "AREA", "B", "BASE", "BASEFONT", "BDO", "BGSOUND",
    "BIG", "BLINK", "BLOCKQUOTE", "BODY", "BR", "BUTTON", "CAPTION", "CENTER", "CITE", "CODE", "COL",
    "COLGROUP", "COMMENT", "DD", "DEL", "DFN", "DIR", "DIV", "DL", "DT", "EM", "EMBED", "FIELDSET",
    "FONT", "FORM", "FRAME", "FRAMESET", "H1", "H2", "H3", "H4", "H5", "H6", "HEAD", "HR", "HTML", "I",
    "IFRAME", "ILAYER", "IMG", "INPUT", "INS", "ISINDEX", "KBD", "KEYGEN", "LABEL", "LAYER", "LEGEND",
    "LI", "LINK", "LISTING", "MAP", "MARQUEE", "MENU", "META", "MULTICOL", "NEXTID", "NOBR", "NOEMBED",
    "NOFRAMES", "NOLAYER", "NOSCRIPT", "OBJECT", "OL", "OPTGROUP", "OPTION", "P", "PARAM", "PLAINTEXT",
    "PRE", "Q", "S", "SAMP", "SCRIPT", "SELECT", "SERVER", "SMALL", "SPACER", "SPAN", "STRIKE",
    "STRONG", "STYLE", "SUB", "SUP", "TABLE", "TBODY", "TD", "TEXTAREA", "TFOOT", "TH", "THEAD",
    "TITLE", "TR", "TT", "U", "UL", "VAR", "WBR", "XMP"
};
constexpr const char* ClosingTagNames[] = {
    "/A", "/ABBR", "/ACRONYM", "/ADDRESS", "/APPLET", "/B", "/BDO", "/BIG", "/BLINK", "/BLOCKQUOTE",
    "/BODY", "/BUTTON", "/CAPTION", "/CENTER", "/CITE", "/CODE", "/COLGROUP", "/COMMENT", "/DD", "/DEL",
    "/DFN", "/DIR", "/DIV", "/DL", "/DT", "/EM", "/EMBED", "/FIELDSET", "/FONT", "/FORM", "/FRAMESET",
    "/H1", "/H2", "/H3", "/H4", "/H5", "/H6", "/HEAD", "/HTML", "/I", "/IFRAME", "/ILAYER", "/INS",
    "/KBD", "/LABEL", "/LAYER", "/LEGEND", "/LI", "/LISTING", "/MAP", "/MARQUEE", "/MENU", "/MULTICOL",
    "/NOBR", "/NOEMBED", "/NOFRAMES", "/NOLAYER", "/NOSCRIPT", "/OBJECT", "/OL", "/OPTGROUP", "/OPTION",
    "/P", "/PRE", "/Q", "/S", "/SAMP", "/SCRIPT", "/SELECT", "/SERVER", "/SMALL", "/SPAN", "/STRIKE",
    "/STRONG", "/STYLE", "/SUB", "/SUP", "/TABLE", "/TBODY", "/TD", "/TEXTAREA", "/TFOOT", "/TH",
    "/THEAD", "/TITLE", "/TR", "/TT", "/U", "/UL", "/VAR", "/XMP"
};
constexpr const char* EntityReferences[] = {
    "&Alpha;", "&Beta;", "&Gamma;", "&Delta;", "&Epsilon;", "&Zeta;", "&Eta;", "&Theta;", "&Iota;",
    "&Kappa;", "&Lambda;", "&Mu;", "&Nu;", "&Xi;", "&Omicron;", "&Pi;", "&Rho;", "&Sigma;", "&Tau;",
    "&Upsilon;", "&Phi;", "&Chi;", "&Psi;", "&Omega;", "&alpha;", "&beta;", "&gamma;", "&delta;",
    "&epsilon;", "&zeta;", "&eta;", "&theta;", "&iota;", "&kappa;", "&lambda;", "&mu;", "&nu;", "&xi;",
    "&omicron;", "&pi;", "&rho;", "&sigmaf;", "&sigma;", "&tau;", "&upsilon;", "&phi;", "&chi;",
    "&psi;", "&omega;", "&thetasym;", "&upsih;", "&piv;", "&bull;", "&hellip;", "&prime;", "&Prime;",
    "&oline;", "&frasl;", "&weierp;", "&image;", "&real;", "&trade;", "&alefsym;", "&larr;", "&uarr;",
    "&rarr;", "&darr;", "&harr;", "&crarr;", "&lArr;", "&uArr;", "&rArr;", "&dArr;", "&hArr;",
    "&forall;", "&part;", "&exist;", "&empty;", "&nabla;", "&isin;", "&notin;", "&ni;", "&prod;",
    "&sum;", "&minus;", "&lowast;", "&radic;", "&prop;", "&infin;", "&ang;", "&and;", "&or;", "&cap;",
    "&cup;", "&int;", "&there4;", "&sim;", "&cong;", "&asymp;", "&ne;", "&equiv;", "&le;", "&ge;",
    "&sub;", "&sup;", "&nsub;", "&sube;", "&supe;", "&oplus;", "&otimes;", "&perp;", "&sdot;",
    "&lceil;", "&rceil;", "&lfloor;", "&rfloor;", "&lang;", "&rang;", "&loz;", "&spades;", "&clubs;",
    "&hearts;", "&diams;", "&lsquo;", "&rsquo;", "&sbquo;", "&ldquo;", "&rdquo;", "&bdquo;", "&dagger;",
    "&Dagger;", "&permil;", "&lsaquo;", "&rsaquo;", "&quot;", "&amp;", "&lt;", "&gt;", "&ndash;",
    "&mdash;", "&nbsp;", "&thinsp;", "&ensp;", "&emsp;", "&iexcl;", "&cent;", "&pound;", "&curren;",
    "&yen;", "&brvbar;", "&brkbar;", "&sect;", "&uml;", "&die;", "&copy;", "&ordf;", "&laquo;", "&not;",
    "&shy;", "&reg;", "&macr;", "&hibar;", "&deg;", "&plusmn;", "&sup2;", "&sup3;", "&acute;",
    "&micro;", "&para;", "&middot;", "&cedil;", "&sup1;", "&ordm;", "&raquo;", "&frac14;", "&frac12;",
    "&frac34;", "&iquest;", "&Agrave;", "&Aacute;", "&Acirc;", "&Atilde;", "&Auml;", "&Aring;",
    "&AElig;", "&Ccedil;", "&Egrave;", "&Eacute;", "&Ecirc;", "&Euml;", "&Igrave;", "&Iacute;",
    "&Icirc;", "&Iuml;", "&ETH;", "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;", "&Otilde;", "&Ouml;",
    "&times;", "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;", "&Uuml;", "&Yacute;", "&THORN;",
    "&szlig;", "&agrave;", "&aacute;", "&acirc;", "&atilde;", "&auml;", "&aring;", "&aelig;",
    "&ccedil;", "&egrave;", "&eacute;", "&ecirc;", "&euml;", "&igrave;", "&iacute;", "&icirc;",
    "&iuml;", "&eth;", "&ntilde;", "&ograve;", "&oacute;", "&ocirc;", "&otilde;", "&ouml;", "&divide;",
    "&oslash;", "&ugrave;", "&uacute;", "&ucirc;", "&uuml;", "&yacute;", "&thorn;", "&yuml;", "&euro;",
    "&OElig;", "&oelig;", "&scaron;", "&Scaron;", "&fnof;", "&circ;"
};
// clang-format on

constexpr Integer EntityCount = static_cast<Integer>(std::size(EntityReferences));

struct TEntity {
    const char* Text;
    Integer Length;
};

const std::array<TEntity, EntityCount>& entities() {
    static const std::array<TEntity, EntityCount> table = [] {
        std::array<TEntity, EntityCount> result{};
        for (Integer i = 0; i < EntityCount; ++i)
            result[i] = {EntityReferences[i], static_cast<Integer>(std::strlen(EntityReferences[i]))};
        return result;
    }();
    return table;
}

Integer tagHashOf(std::string_view word) {
    Integer hash = 0;
    for (char c : word)
        hash += isDigit(c) ? c - '0' : hashValue(c);
    return hash;
}

// Each used slot holds the tag names of that hash, in the order of the lists.
using TTagTable = std::array<std::vector<const char*>, IdentFuncTableSize>;

TTagTable makeTagTable() {
    TTagTable table;
    auto addAll = [&table](const auto& words) {
        for (const char* word : words)
            table[tagHashOf(word)].push_back(word);
    };
    addAll(OpeningTagNames);
    addAll(ClosingTagNames);
    table[tagHashOf("!DOCTYPE")].push_back("!DOCTYPE");
    return table;
}

const TTagTable& tagTable() {
    static const TTagTable table = makeTagTable();
    return table;
}

constexpr const char* SampleSourceLines[] = {
    "<!-- Syntax highlighting -->",
    "",
    "<html>",
    "<body bgcolor=\"red\">",
    "  <form name=\"frmLogin\" action=\"doSomething.asp\">",
    "    <input name=\"user\" value='any",
    "      value'>",
    "  </form>",
    "  <invalid>Sample HTML code &copy; 2001</invalid>",
    "</body>",
    "</html>",
};

} // namespace

const TClass TSynHTMLSynClass =
    DescribeClass<TSynHTMLSyn, TSynCustomHighlighter>([](TClassBuilder<TSynHTMLSyn>& c) {
        c.Property("AndAttri", &TSynHTMLSyn::AndAttri);
        c.Property("CommentAttri", &TSynHTMLSyn::CommentAttri);
        c.Property("IdentifierAttri", &TSynHTMLSyn::IdentifierAttri);
        c.Property("KeyAttri", &TSynHTMLSyn::KeyAttri);
        c.Property("SpaceAttri", &TSynHTMLSyn::SpaceAttri);
        c.Property("SymbolAttri", &TSynHTMLSyn::SymbolAttri);
        c.Property("TextAttri", &TSynHTMLSyn::TextAttri);
        c.Property("UndefKeyAttri", &TSynHTMLSyn::UndefKeyAttri);
        c.Property("ValueAttri", &TSynHTMLSyn::ValueAttri);
    });

namespace {
const bool registered = [] {
    RegisterPlaceableHighlighter(SynHighlighterClass<TSynHTMLSyn>());
    return true;
}();
} // namespace

TSynHTMLSyn::TSynHTMLSyn(TComponent* AOwner) : TSynCustomHighlighter(AOwner) {
    CommentAttri_ = addAttribute(SYNS_AttrComment, TFontStyles{}, clNone);
    IdentifierAttri_ = addAttribute(SYNS_AttrIdentifier, TFontStyles{fsBold}, clNone);
    KeyAttri_ = addAttribute(SYNS_AttrReservedWord, TFontStyles{fsBold}, KeyForeground);
    SpaceAttri_ = addAttribute(SYNS_AttrSpace, TFontStyles{}, clNone);
    SymbolAttri_ = addAttribute(SYNS_AttrSymbol, TFontStyles{fsBold}, clNone);
    TextAttri_ = addAttribute(SYNS_AttrText, TFontStyles{}, clNone);
    UndefKeyAttri_ = addAttribute(SYNS_AttrUnknownWord, TFontStyles{fsBold}, UndefKeyForeground);
    ValueAttri_ = addAttribute(SYNS_AttrValue, TFontStyles{}, ValueForeground);
    AndAttri_ = addAttribute(SYNS_AttrEscapeAmpersand, TFontStyles{fsBold}, AmpersandForeground);
    SetAttributesOnChange(TNotifyEvent(this, &TSynHTMLSyn::DefHighlightChange));
    // The shared tables are built here, not while the first line is scanned.
    tagTable();
    entities();
    MakeMethodTables();
    Range = rsText;
    SetDefaultFilter(SYNS_FilterHTML);
}

TSynHighlighterAttributes* TSynHTMLSyn::addAttribute(const char* Name, TFontStyles Style, TColor Foreground) {
    auto* attribute = new TSynHighlighterAttributes(Name);
    attribute->SetStyle(Style);
    attribute->SetForeground(Foreground);
    AddAttribute(attribute);
    return attribute;
}

AnsiString TSynHTMLSyn::GetLanguageName() {
    return SYNS_LangHTML;
}

bool TSynHTMLSyn::IsFilterStored() const {
    return GetDefaultFilter() != SYNS_FilterHTML;
}

TSynHighlighterAttributes* TSynHTMLSyn::GetDefaultAttribute(Integer Index) const {
    switch (Index) {
    case SYN_ATTR_COMMENT:
        return CommentAttri_;
    case SYN_ATTR_IDENTIFIER:
        return IdentifierAttri_;
    case SYN_ATTR_KEYWORD:
        return KeyAttri_;
    case SYN_ATTR_WHITESPACE:
        return SpaceAttri_;
    case SYN_ATTR_SYMBOL:
        return SymbolAttri_;
    default:
        return nullptr;
    }
}

TSynIdentChars TSynHTMLSyn::GetIdentChars() const {
    return WordIdentChars();
}

AnsiString TSynHTMLSyn::GetSampleSource() const {
    return JoinSampleLines(SampleSourceLines);
}

void TSynHTMLSyn::MakeMethodTables() {
    for (int c = 0; c < 256; ++c) {
        TProcTableProc proc = &TSynHTMLSyn::IdentProc;
        if (c == 0)
            proc = &TSynHTMLSyn::NullProc;
        else if (c == '\n')
            proc = &TSynHTMLSyn::LFProc;
        else if (c == '\r')
            proc = &TSynHTMLSyn::CRProc;
        else if (c <= 32)
            proc = &TSynHTMLSyn::SpaceProc;
        else if (c == '"' || c == '\'')
            proc = &TSynHTMLSyn::StringProc;
        else if (c == '&')
            proc = &TSynHTMLSyn::AmpersandProc;
        else if (c == '<')
            proc = &TSynHTMLSyn::BraceOpenProc;
        else if (c == '=')
            proc = &TSynHTMLSyn::EqualProc;
        else if (c == '>')
            proc = &TSynHTMLSyn::BraceCloseProc;
        ProcTable[c] = proc;
    }
}

// ---- Tag names -----------------------------------------------------------------

// The run of "!", "/" and letters, then the digits that follow it.
Integer TSynHTMLSyn::KeyHash(const char* Start) {
    Integer hash = 0;
    const char* p = Start;
    for (; isTagNameChar(*p); ++p)
        hash += hashValue(*p);
    for (; isDigit(*p); ++p)
        hash += *p - '0';
    IdentLen = static_cast<Integer>(p - Start);
    return hash;
}

// Letters match in either case; the hash has already told the digits apart.
bool TSynHTMLSyn::KeyComp(const char* Key) const {
    if (static_cast<Integer>(std::strlen(Key)) != IdentLen) return false;
    for (Integer i = 0; i < IdentLen; ++i)
        if (hashValue(Key[i]) != hashValue(IdentStart[i])) return false;
    return true;
}

TtkTokenKind TSynHTMLSyn::IdentKind(const char* Start) {
    IdentStart = Start;
    const Integer hash = KeyHash(Start);
    if (hash >= IdentFuncTableSize) return tkIdentifier;
    for (const char* word : tagTable()[hash])
        if (KeyComp(word)) return tkKey;
    return tkUndefKey;
}

// ---- Entity references ---------------------------------------------------------

// Compared character by character, so a reference longer than the rest of
// the line fails at the line's end instead of reading past it.
bool TSynHTMLSyn::referenceAt(Integer Position, Integer Code) const {
    const TEntity& entity = entities()[Code];
    return std::strncmp(LinePtr + Position, entity.Text, entity.Length) == 0;
}

Integer TSynHTMLSyn::findReferenceAt(Integer Position) const {
    const char first = charAt(Position + 1);
    for (Integer i = 0; i < EntityCount; ++i)
        if (entities()[i].Text[1] == first && referenceAt(Position, i)) return i;
    return -1;
}

// After "&#": "x" and hexadecimal digits, or decimal digits.
void TSynHTMLSyn::skipReferenceDigits() {
    if (current() == 'X' || current() == 'x') {
        ++ScanPos;
        while (isHexDigit(current()))
            ++ScanPos;
    } else {
        while (isDigit(current()))
            ++ScanPos;
    }
}

// ---- Token protocol ------------------------------------------------------------

void TSynHTMLSyn::SetLine(const AnsiString& NewValue, Integer ALineNumber) {
    Line = NewValue;
    LinePtr = Line.c_str();
    ScanPos = 0;
    LineNumber = ALineNumber;
    // A reference is always finished on the line where the text scan found it,
    // so a line cannot start inside one; the range is also the value a line
    // buffer gives for a line it knows nothing about.
    if (Range == rsAmpersand) {
        Range = rsText;
        AndCode = -1;
    }
    Next();
}

void TSynHTMLSyn::Next() {
    TokenPos = ScanPos;
    switch (Range) {
    case rsComment:
        CommentProc();
        break;
    case rsText:
        TextProc();
        break;
    case rsQuoteValue:
    case rsDoubleQuoteValue:
        if (isLineEnd(current()))
            dispatchCurrent();
        else
            StringProc();
        break;
    default:
        dispatchCurrent();
    }
}

void TSynHTMLSyn::dispatchCurrent() {
    (this->*ProcTable[code(current())])();
}

bool TSynHTMLSyn::GetEol() const {
    return TokenKind == tkNull;
}

AnsiString TSynHTMLSyn::GetToken() const {
    return AnsiString(LinePtr + TokenPos, ScanPos - TokenPos);
}

Integer TSynHTMLSyn::GetTokenPos() const {
    return TokenPos;
}

Integer TSynHTMLSyn::GetTokenKind() const {
    return TokenKind;
}

TSynHTMLSyn::TtkTokenKind TSynHTMLSyn::GetTokenID() const {
    return TokenKind;
}

TSynHighlighterAttributes* TSynHTMLSyn::GetTokenAttribute() const {
    switch (TokenKind) {
    case tkAmpersand:
        return AndAttri_;
    case tkComment:
        return CommentAttri_;
    case tkIdentifier:
        return IdentifierAttri_;
    case tkKey:
        return KeyAttri_;
    case tkSpace:
        return SpaceAttri_;
    case tkSymbol:
        return SymbolAttri_;
    case tkText:
        return TextAttri_;
    case tkUndefKey:
        return UndefKeyAttri_;
    case tkValue:
        return ValueAttri_;
    case tkNull:
        return nullptr;
    }
    return nullptr;
}

TSynRangeValue TSynHTMLSyn::GetRange() const {
    return Range;
}

void TSynHTMLSyn::SetRange(TSynRangeValue Value) {
    Range = static_cast<TRangeState>(Value & 0xFF);
}

void TSynHTMLSyn::ResetRange() {
    Range = rsText;
}

// ---- Token procedures ----------------------------------------------------------

void TSynHTMLSyn::NullProc() {
    TokenKind = tkNull;
}

// A tab always starts a space token of its own.
void TSynHTMLSyn::SpaceProc() {
    ++ScanPos;
    TokenKind = tkSpace;
    for (char c = current(); code(c) <= 32 && c != '\0' && c != '\t' && c != '\n' && c != '\r'; c = current())
        ++ScanPos;
}

void TSynHTMLSyn::LFProc() {
    TokenKind = tkSpace;
    ++ScanPos;
}

void TSynHTMLSyn::CRProc() {
    TokenKind = tkSpace;
    ++ScanPos;
    if (current() == '\n') ++ScanPos;
}

void TSynHTMLSyn::BraceOpenProc() {
    ++ScanPos;
    if (current() == '!' && following() == '-' && charAt(ScanPos + 2) == '-') {
        Range = rsComment;
        TokenKind = tkComment;
        ScanPos += 3;
    } else {
        Range = rsKey;
        TokenKind = tkSymbol;
    }
}

void TSynHTMLSyn::BraceCloseProc() {
    Range = rsText;
    TokenKind = tkSymbol;
    ++ScanPos;
}

void TSynHTMLSyn::EqualProc() {
    Range = rsValue;
    TokenKind = tkSymbol;
    ++ScanPos;
}

void TSynHTMLSyn::IdentProc() {
    switch (Range) {
    case rsKey:
        // The name may be empty when the character cannot start one.
        Range = rsParam;
        TokenKind = IdentKind(LinePtr + ScanPos);
        ScanPos += IdentLen;
        break;
    case rsValue:
        Range = rsParam;
        TokenKind = tkValue;
        do
            ++ScanPos;
        while (!isBelow33(current()) && current() != '>');
        break;
    default:
        TokenKind = tkIdentifier;
        do
            ++ScanPos;
        while (!isBelow33(current()) && std::strchr("\"=>", current()) == nullptr);
    }
}

void TSynHTMLSyn::StringProc() {
    char quote;
    switch (Range) {
    case rsQuoteValue:
        quote = '\'';
        break;
    case rsDoubleQuoteValue:
        quote = '"';
        break;
    case rsValue:
        quote = current();
        Range = quote == '"' ? rsDoubleQuoteValue : rsQuoteValue;
        ++ScanPos;
        break;
    default:
        IdentProc();
        return;
    }
    TokenKind = tkValue;
    // An unclosed value keeps its quote state and goes on on the next line.
    while (!isLineEnd(current())) {
        if (current() == quote) {
            ++ScanPos;
            Range = rsParam;
            return;
        }
        ++ScanPos;
    }
}

void TSynHTMLSyn::CommentProc() {
    TokenKind = tkComment;
    if (isLineEnd(current())) {
        dispatchCurrent();
        return;
    }
    while (!isLineEnd(current())) {
        // The dashes must be on this line; the opener's dashes count too.
        if (current() == '>' && ScanPos >= 2 && charAt(ScanPos - 1) == '-' && charAt(ScanPos - 2) == '-') {
            Range = rsText;
            ++ScanPos;
            return;
        }
        ++ScanPos;
    }
}

void TSynHTMLSyn::TextProc() {
    if (code(current()) < 32 || current() == '<') {
        dispatchCurrent();
        return;
    }
    TokenKind = tkText;
    for (;;) {
        while (code(current()) >= 32 && current() != '&' && current() != '<')
            ++ScanPos;
        if (current() != '&') return;
        if (following() == '#') {
            AndCode = -1;
            const Integer ampersand = ScanPos;
            ScanPos += 2;
            skipReferenceDigits();
            if (current() == ';') {
                ScanPos = ampersand;
                Range = rsAmpersand;
            }
            return;
        }
        const Integer found = findReferenceAt(ScanPos);
        if (found >= 0) {
            AndCode = found;
            Range = rsAmpersand;
            return;
        }
        ++ScanPos;
    }
}

void TSynHTMLSyn::AmpersandProc() {
    switch (Range) {
    case rsAmpersand:
        if (AndCode >= 0 && AndCode < EntityCount && referenceAt(ScanPos, AndCode)) {
            TokenKind = tkAmpersand;
            ScanPos += entities()[AndCode].Length;
        } else if (following() == '#') {
            ScanPos += 2;
            skipReferenceDigits();
            if (current() == ';') {
                ++ScanPos;
                TokenKind = tkAmpersand;
            } else {
                TokenKind = tkText;
            }
        } else {
            // Not prepared by the text scan (only a caller setting this range
            // mid-line gets here): the "&" alone is text.
            ++ScanPos;
            TokenKind = tkText;
        }
        AndCode = -1;
        Range = rsText;
        break;
    case rsKey:
        ++ScanPos;
        Range = rsText;
        TokenKind = tkText;
        break;
    default:
        IdentProc();
    }
}
