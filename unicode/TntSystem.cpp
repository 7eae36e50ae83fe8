// Platform flags, code-page conversions with the layer's own UTF-8 and UTF-7
// coders, resource strings and command-line parameters.
#include "unicode/TntSystem.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/KernelCalls.h"
#include "platform/win/LastError.h"
#include "platform/win/SystemInfo.h"
#include "unicode/TntSysUtils.h"

#include <array>
#include <cstring>
#include <iconv.h>

bool Win32PlatformIsUnicode = false;
bool Win32PlatformIsXP = false;
TWideCustomLoadResString WideCustomLoadResString = nullptr;

namespace {

const bool platformFlagsRead = (ReadPlatformFlags(), true);

constexpr WideChar ReplacementCharacter = 0xFFFD;
constexpr NativeUInt FirstTextIdentifier = 65536;
constexpr int LocaleNumberBufferSize = 6;
constexpr Word FirstNonByteCharCode = 256;

// ---- Code pages the C library converts ----------------------------------------------

// The Windows code pages of the font character sets and locales, which the
// core's single-byte tables do not cover.
struct LibraryCodePage {
    Cardinal codePage;
    const char* name;
};
constexpr LibraryCodePage LibraryCodePages[] = {
    {874, "CP874"},   {932, "CP932"},   {936, "CP936"},   {949, "CP949"},   {950, "CP950"},
    {1250, "CP1250"}, {1251, "CP1251"}, {1253, "CP1253"}, {1254, "CP1254"}, {1255, "CP1255"},
    {1256, "CP1256"}, {1257, "CP1257"}, {1258, "CP1258"}, {1361, "CP1361"},
};

const char* libraryNameOf(Cardinal codePage) {
    for (const LibraryCodePage& entry : LibraryCodePages)
        if (entry.codePage == codePage) return entry.name;
    return nullptr;
}

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) ::iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of the input; a sequence it cannot convert costs `skip`
    // input bytes and becomes `replacement` in the output.
    std::string run(const std::string& input, std::size_t skip, const std::string& replacement,
                    bool* replaced) {
        std::string output;
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char buffer[256];
        while (true) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const bool finished = inLeft == 0;
            const std::size_t result = finished ? ::iconv(handle_, nullptr, nullptr, &out, &outLeft)
                                                : ::iconv(handle_, &in, &inLeft, &out, &outLeft);
            output.append(buffer, static_cast<std::size_t>(out - buffer));
            if (result != static_cast<std::size_t>(-1)) {
                if (finished) return output;
                continue;
            }
            if (errno == E2BIG) continue;
            if (finished) return output;
            const std::size_t step = std::min(skip, inLeft);
            in += step;
            inLeft -= step;
            output += replacement;
            if (replaced) *replaced = true;
        }
    }

private:
    iconv_t handle_;
};

WideString wideOfLittleEndianBytes(const std::string& bytes) {
    WideString text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<WideChar>(static_cast<Byte>(bytes[2 * i]) |
                                        (static_cast<Byte>(bytes[2 * i + 1]) << 8));
    return text;
}

std::string littleEndianBytesOf(const WideString& text) {
    std::string bytes(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

// Bytes the code page cannot read become U+FFFD.
WideString libraryDecode(const AnsiString& bytes, const char* name) {
    Converter converter("UTF-16LE", name);
    if (!converter.valid()) return {};
    const std::string replacement = littleEndianBytesOf(WideString(1, ReplacementCharacter));
    return wideOfLittleEndianBytes(converter.run(bytes, 1, replacement, nullptr));
}

// Characters the code page lacks become "?", its default character.
AnsiString libraryEncode(const WideString& text, const char* name, bool* usedDefault) {
    Converter converter(name, "UTF-16LE");
    if (!converter.valid()) return {};
    return converter.run(littleEndianBytesOf(text), sizeof(WideChar), "?", usedDefault);
}

WideString codePageToWide(const AnsiString& bytes, Cardinal codePage) {
    if (const char* name = libraryNameOf(codePage))
        return bytes.empty() ? WideString() : libraryDecode(bytes, name);
    return CodePageToWide(bytes, codePage);
}

AnsiString wideToCodePage(const WideString& text, Cardinal codePage) {
    if (const char* name = libraryNameOf(codePage))
        return text.empty() ? AnsiString() : libraryEncode(text, name, nullptr);
    return WideToCodePage(text, codePage);
}

// ---- UTF-8 --------------------------------------------------------------------------

constexpr Byte ContinuationMask = 0xC0;
constexpr Byte ContinuationTag = 0x80;

// The length of the sequence a byte starts, 0 when it cannot start one.
int sequenceLength(Byte lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC0 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

constexpr Cardinal SmallestValueOfLength[] = {0, 0, 0x80, 0x800, 0x10000};
constexpr Cardinal LastCodePoint = 0x10FFFF;
constexpr Cardinal FirstSupplementary = 0x10000;

void appendCodePoint(WideString& text, Cardinal value) {
    if (value < FirstSupplementary) {
        text += static_cast<WideChar>(value);
        return;
    }
    value -= FirstSupplementary;
    text += static_cast<WideChar>(0xD800 + (value >> 10));
    text += static_cast<WideChar>(0xDC00 + (value & 0x3FF));
}

// ---- UTF-7 --------------------------------------------------------------------------

constexpr const char* Base64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr const char* DirectCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?";
constexpr const char* OptionalDirectCharacters = "!\"#$%&*;<=>@[]^_`{|}";
constexpr const char* WhiteSpaceCharacters = "\t\r\n ";

struct Utf7Tables {
    std::array<SmallInt, 128> base64Value{};
    // Whether a character must be written in base64, with set O written directly.
    std::array<bool, 128> mustEncode{};
};

// Built once, on the first UTF-7 conversion.
const Utf7Tables& utf7Tables() {
    static const Utf7Tables tables = [] {
        Utf7Tables built;
        built.base64Value.fill(-1);
        for (SmallInt i = 0; Base64Alphabet[i]; ++i)
            built.base64Value[static_cast<Byte>(Base64Alphabet[i])] = i;
        built.mustEncode.fill(true);
        for (const char* set : {DirectCharacters, OptionalDirectCharacters, WhiteSpaceCharacters})
            for (const char* c = set; *c; ++c)
                built.mustEncode[static_cast<Byte>(*c)] = false;
        return built;
    }();
    return tables;
}

bool needsBase64(WideChar c) {
    return c > 0x7F || utf7Tables().mustEncode[c];
}

bool isBase64Character(WideChar c) {
    return c < 0x80 && utf7Tables().base64Value[c] >= 0;
}

class Utf7Encoder {
public:
    AnsiString encode(const WideString& text) {
        for (const WideChar c : text)
            put(c);
        if (inBase64_) flushBits();
        return output_;
    }

private:
    void put(WideChar c) {
        if (needsBase64(c)) {
            if (!inBase64_) {
                output_ += '+';
                if (c == u'+') {
                    output_ += '-';
                    return;
                }
                inBase64_ = true;
            }
            appendBits(c);
            return;
        }
        if (inBase64_) {
            flushBits();
            // A closing "-" only where the next character could be read as base64.
            if (isBase64Character(c) || c == u'-') output_ += '-';
            inBase64_ = false;
        }
        output_ += static_cast<char>(c);
    }

    void appendBits(WideChar c) {
        bits_ = (bits_ << 16) | c;
        bitCount_ += 16;
        while (bitCount_ >= 6)
            emitSixBits();
    }

    void flushBits() {
        if (bitCount_ == 0) return;
        bits_ <<= 6 - bitCount_;
        bitCount_ = 6;
        emitSixBits();
    }

    void emitSixBits() {
        bitCount_ -= 6;
        output_ += Base64Alphabet[(bits_ >> bitCount_) & 0x3F];
        bits_ &= (1u << bitCount_) - 1;
    }

    AnsiString output_;
    bool inBase64_ = false;
    Cardinal bits_ = 0;
    int bitCount_ = 0;
};

class Utf7Decoder {
public:
    WideString decode(const AnsiString& text) {
        for (const char c : text)
            put(static_cast<Byte>(c));
        if (inBase64_) endRun(false);
        if (invalid_) throw ETntGeneralError(SInvalidUTF7);
        return output_;
    }

private:
    void put(Byte c) {
        if (inBase64_) {
            if (isBase64Character(c)) {
                appendBits(static_cast<Cardinal>(utf7Tables().base64Value[c]));
                return;
            }
            // "+-" stands for "+" itself.
            const bool plusSign = c == '-' && runIsEmpty_;
            endRun(plusSign);
            if (plusSign) output_ += u'+';
            // The "-" that ends a run is consumed ("+" is in the alphabet, so never ends one).
            if (c == '-') return;
        }
        if (c == '+') {
            inBase64_ = true;
            runIsEmpty_ = producedNothing_ = true;
            return;
        }
        if (c > 0x7F) invalid_ = true;
        output_ += static_cast<WideChar>(c);
    }

    void appendBits(Cardinal value) {
        runIsEmpty_ = false;
        bits_ = (bits_ << 6) | value;
        bitCount_ += 6;
        if (bitCount_ >= 16) {
            bitCount_ -= 16;
            output_ += static_cast<WideChar>(bits_ >> bitCount_);
            bits_ &= (1u << bitCount_) - 1;
            producedNothing_ = false;
        }
    }

    // A run must write something, and the bits left over must be zero padding.
    void endRun(bool plusSign) {
        if ((producedNothing_ && !plusSign) || bits_ != 0) invalid_ = true;
        bits_ = 0;
        bitCount_ = 0;
        inBase64_ = false;
    }

    WideString output_;
    bool inBase64_ = false;
    bool runIsEmpty_ = false;
    bool producedNothing_ = false;
    bool invalid_ = false;
    Cardinal bits_ = 0;
    int bitCount_ = 0;
};

// ---- Character sets -----------------------------------------------------------------

struct CharSetCodePage {
    DWORD charSet;
    Cardinal codePage;
};
// What TranslateCharsetInfo answers for the font character sets that have an
// ANSI code page (the symbol set has code page 42).
constexpr CharSetCodePage CharSetCodePages[] = {
    {0, 1252},   {2, 42},     {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950}, {161, 1253},
    {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251}, {222, 874}, {238, 1250},
};

// ---- Command line -------------------------------------------------------------------

// Reads the parameter starting at (or after blanks from) `position`.
const WideChar* nextParameter(const WideChar* position, WideString& parameter) {
    parameter.clear();
    for (;;) {
        while (*position && *position <= u' ')
            ++position;
        if (position[0] != u'"' || position[1] != u'"') break;
        position += 2;
    }
    while (*position > u' ') {
        if (*position != u'"') {
            parameter += *position++;
            continue;
        }
        ++position;
        while (*position && *position != u'"')
            parameter += *position++;
        if (*position) ++position;
    }
    return position;
}

} // namespace

// ---- Platform flags ---------------------------------------------------------------------

void ReadPlatformFlags() {
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    Win32PlatformIsUnicode = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    Win32PlatformIsXP =
        (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1) || version.dwMajorVersion >= 6;
}

// ---- Code pages -------------------------------------------------------------------------

Cardinal DefaultSystemCodePage() {
    return CP_ACP;
}

AnsiString WideStringToUTF8(const WideString& S) {
    AnsiString result;
    result.reserve(3 * S.size() + 1);
    for (const WideChar c : S) {
        if (c < 0x80) {
            result += static_cast<char>(c);
        } else if (c < 0x800) {
            result += static_cast<char>(0xC0 | (c >> 6));
            result += static_cast<char>(ContinuationTag | (c & 0x3F));
        } else {
            result += static_cast<char>(0xE0 | (c >> 12));
            result += static_cast<char>(ContinuationTag | ((c >> 6) & 0x3F));
            result += static_cast<char>(ContinuationTag | (c & 0x3F));
        }
    }
    return result;
}

WideString UTF8ToWideString(const AnsiString& S) {
    WideString result;
    result.reserve(S.size());
    for (std::size_t i = 0; i < S.size();) {
        const auto lead = static_cast<Byte>(S[i]);
        const int length = sequenceLength(lead);
        if (length == 0 || i + length > S.size()) return {};
        Cardinal value = length == 1 ? lead : lead & (0xFFu >> (length + 1));
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<Byte>(S[i + k]);
            if ((next & ContinuationMask) != ContinuationTag) return {};
            value = (value << 6) | (next & 0x3F);
        }
        i += length;
        if (value > LastCodePoint) return {};
        // An overlong form could smuggle a NUL or a delimiter past a check.
        appendCodePoint(result, value < SmallestValueOfLength[length] ? ReplacementCharacter : value);
    }
    return result;
}

AnsiString WideStringToUTF7(const WideString& W) {
    return Utf7Encoder().encode(W);
}

WideString UTF7ToWideString(const AnsiString& S) {
    return Utf7Decoder().decode(S);
}

WideString StringToWideStringEx(const AnsiString& S, Cardinal CodePage) {
    if (CodePage == CP_UTF7_CODE_PAGE) return UTF7ToWideString(S);
    if (CodePage == CP_UTF8_CODE_PAGE) return UTF8ToWideString(S);
    return codePageToWide(S, CodePage);
}

AnsiString WideStringToStringEx(const WideString& W, Cardinal CodePage) {
    if (CodePage == CP_UTF7_CODE_PAGE) return WideStringToUTF7(W);
    if (CodePage == CP_UTF8_CODE_PAGE) return WideStringToUTF8(W);
    return wideToCodePage(W, CodePage);
}

WideString UCS2ToWideString(const AnsiString& S) {
    return wideOfLittleEndianBytes(S);
}

AnsiString WideStringToUCS2(const WideString& W) {
    AnsiString bytes(W.size() * sizeof(WideChar), '\0');
    std::memcpy(bytes.data(), W.data(), bytes.size());
    return bytes;
}

void StrSwapByteOrder(WideChar* Str) {
    for (; *Str; ++Str)
        *Str = static_cast<WideChar>((*Str >> 8) | (*Str << 8));
}

Cardinal CharSetToCodePage(DWORD CharSet) {
    for (const CharSetCodePage& entry : CharSetCodePages)
        if (entry.charSet == CharSet) return entry.codePage;
    SetLastError(ERROR_INVALID_PARAMETER);
    RaiseLastOSError();
}

Cardinal LCIDToCodePage(DWORD Locale) {
    char buffer[LocaleNumberBufferSize] = {};
    GetLocaleInfoA(Locale, LOCALE_IDEFAULTANSICODEPAGE, buffer, LocaleNumberBufferSize);
    Integer codePage = 0;
    return TryStrToInt(buffer, codePage) ? static_cast<Cardinal>(codePage) : GetACP();
}

Cardinal KeyboardCodePage() {
    return LCIDToCodePage(LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))));
}

Word KeyUnicode(Word CharCode) {
    if (CharCode >= FirstNonByteCharCode) return CharCode;
    const char byte = static_cast<char>(CharCode);
    const Cardinal codePage = KeyboardCodePage();
    if (const char* name = libraryNameOf(codePage)) {
        const WideString text = libraryDecode(AnsiString(1, byte), name);
        return text.empty() ? 0 : text[0];
    }
    WideChar result = 0;
    if (MultiByteToWideChar(codePage, MB_USEGLYPHCHARS, &byte, 1, &result, 1) != 1) return 0;
    return result;
}

// ---- Resource strings and the command line ------------------------------------------------

WideString WideLoadResString(PResStringRec ResStringRec) {
    WideString custom;
    if (WideCustomLoadResString && WideCustomLoadResString(ResStringRec, custom)) return custom;
    if (!ResStringRec) return {};
    if (ResStringRec->Identifier >= FirstTextIdentifier) {
        const AnsiString text = reinterpret_cast<const char*>(ResStringRec->Identifier);
        if (text.size() > 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            return UTF8ToWideString(text.substr(3));
        return StringToWideStringEx(text, DefaultSystemCodePage());
    }
    // The program's resources hold no string tables, so a numbered entry has no text.
    return {};
}

Integer WideParamCount() {
    WideString parameter;
    const WideChar* position = nextParameter(kernel32::GetCommandLineW(), parameter);
    Integer count = 0;
    for (position = nextParameter(position, parameter); !parameter.empty();
         position = nextParameter(position, parameter))
        ++count;
    return count;
}

WideString WideParamStr(Integer Index) {
    if (Index == 0) return WideGetModuleFileName(nullptr);
    WideString parameter;
    const WideChar* position = kernel32::GetCommandLineW();
    for (Integer i = 0;; ++i) {
        position = nextParameter(position, parameter);
        if (i == Index || parameter.empty()) return parameter;
    }
}
