// The framework's run-time helpers: Format and the number conversions, string
// case and comparison, operating-system error texts and the clock.
#include "platform/core/SysUtils.h"

#include "platform/core/Clock.h"
#include "platform/core/CodePages.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>

namespace {

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c;
}
char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
}

// ---- Decimal digits of a double -------------------------------------------------

// value = 0.d1d2d3... x 10^exponent; no trailing zeros; no digits means zero.
struct DecimalNumber {
    bool negative = false;
    std::string digits;
    int exponent = 0;
    bool isZero() const { return digits.empty(); }
};

void stripTrailingZeros(DecimalNumber& number) {
    while (!number.digits.empty() && number.digits.back() == '0')
        number.digits.pop_back();
    if (number.digits.empty()) number.exponent = 0;
}

// The shortest digits that read back as the same double. The conversion
// ignores the C library's locale, which a toolkit may have changed.
DecimalNumber toDecimal(double value) {
    DecimalNumber number;
    number.negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (magnitude == 0) return number;
    char buffer[64];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific).ptr;
    // buffer: d[.ddd]e[+-]xx
    const char* p = buffer;
    number.digits.push_back(*p++);
    if (*p == '.') ++p;
    while (*p != 'e')
        number.digits.push_back(*p++);
    ++p;
    if (*p == '+') ++p;
    std::from_chars(p, end, number.exponent);
    ++number.exponent;
    stripTrailingZeros(number);
    return number;
}

// Keeps the first `keep` digits, rounding half away from zero.
void roundToDigits(DecimalNumber& number, int keep) {
    if (keep >= static_cast<int>(number.digits.size())) return;
    if (keep < 0) {
        number.digits.clear();
        number.exponent = 0;
        return;
    }
    const bool roundUp = number.digits[keep] >= '5';
    number.digits.resize(keep);
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && number.digits[i] == '9')
            number.digits[i--] = '0';
        if (i >= 0) {
            ++number.digits[i];
        } else {
            number.digits.insert(number.digits.begin(), '1');
            ++number.exponent;
        }
    }
    stripTrailingZeros(number);
}

void roundToSignificant(DecimalNumber& number, int significant) {
    roundToDigits(number, significant);
}
void roundToDecimals(DecimalNumber& number, int decimals) {
    roundToDigits(number, number.exponent + decimals);
}

char digitAt(const DecimalNumber& number, int index) {
    return index >= 0 && index < static_cast<int>(number.digits.size()) ? number.digits[index] : '0';
}

AnsiString groupThousands(const AnsiString& integerDigits) {
    AnsiString grouped;
    const int length = static_cast<int>(integerDigits.size());
    for (int i = 0; i < length; ++i) {
        grouped.push_back(integerDigits[i]);
        const int remaining = length - 1 - i;
        if (remaining > 0 && remaining % 3 == 0) grouped.push_back(ThousandSeparator);
    }
    return grouped;
}

AnsiString integerPart(const DecimalNumber& number) {
    if (number.exponent <= 0) return "0";
    AnsiString digits;
    for (int i = 0; i < number.exponent; ++i)
        digits.push_back(digitAt(number, i));
    return digits;
}

AnsiString fixedText(DecimalNumber number, int decimals, bool thousands) {
    roundToDecimals(number, decimals);
    AnsiString text = integerPart(number);
    if (thousands) text = groupThousands(text);
    if (decimals > 0) {
        text.push_back(DecimalSeparator);
        for (int i = 0; i < decimals; ++i)
            text.push_back(digitAt(number, number.exponent + i));
    }
    return text;
}

AnsiString exponentText(int exponent, int minimumDigits, bool alwaysSign) {
    AnsiString text = "E";
    if (exponent < 0)
        text.push_back('-');
    else if (alwaysSign)
        text.push_back('+');
    AnsiString digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < minimumDigits) digits.insert(0, minimumDigits - digits.size(), '0');
    return text + digits;
}

// d.ddd with `mantissaDigits` digits (at least one), trailing zeros kept when
// `keepZeros`, then the exponent.
AnsiString scientificText(const DecimalNumber& number, int mantissaDigits, bool keepZeros, int exponentDigits,
                          bool alwaysSign) {
    const int shown = keepZeros ? mantissaDigits : std::max<int>(1, number.digits.size());
    AnsiString text(1, digitAt(number, 0));
    if (shown > 1) {
        text.push_back(DecimalSeparator);
        for (int i = 1; i < shown; ++i)
            text.push_back(digitAt(number, i));
    }
    const int exponent = number.isZero() ? 0 : number.exponent - 1;
    return text + exponentText(exponent, exponentDigits, alwaysSign);
}

AnsiString withSign(const DecimalNumber& number, AnsiString text) {
    return number.negative && !number.isZero() ? "-" + text : text;
}

std::optional<AnsiString> specialValueText(double value) {
    if (std::isnan(value)) return AnsiString("NAN");
    if (std::isinf(value)) return AnsiString(value < 0 ? "-INF" : "INF");
    return std::nullopt;
}

constexpr int GeneralSmallestExponent = -3;

AnsiString generalText(double value, int precision, int exponentDigits) {
    DecimalNumber number = toDecimal(value);
    roundToSignificant(number, precision);
    if (number.isZero()) return "0";
    if (number.exponent > precision || number.exponent < GeneralSmallestExponent)
        return withSign(number, scientificText(number, 0, false, exponentDigits, false));
    AnsiString text = integerPart(number);
    const int decimals = static_cast<int>(number.digits.size()) - number.exponent;
    if (decimals > 0) {
        text.push_back(DecimalSeparator);
        for (int i = 0; i < decimals; ++i)
            text.push_back(digitAt(number, number.exponent + i));
    }
    return withSign(number, text);
}

AnsiString currencyText(const AnsiString& amount, bool negative) {
    static constexpr const char* positiveForms[] = {"$1", "1$", "$ 1", "1 $"};
    static constexpr const char* negativeForms[] = {"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                                    "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                                    "$ -1", "1- $", "($ 1)", "(1 $)"};
    const char* form = negative ? negativeForms[NegCurrFormat % 16] : positiveForms[CurrencyFormat % 4];
    AnsiString text;
    for (const char* p = form; *p != 0; ++p) {
        if (*p == '$')
            text += CurrencyString;
        else if (*p == '1')
            text += amount;
        else
            text.push_back(*p);
    }
    return text;
}

AnsiString floatText(double value, TFloatFormat format, int precision, int digits) {
    if (const auto special = specialValueText(value)) return *special;
    precision = std::clamp(precision, 1, 18);
    switch (format) {
    case ffExponent: {
        DecimalNumber number = toDecimal(value);
        roundToSignificant(number, precision);
        return withSign(number, scientificText(number, precision, true, std::clamp(digits, 0, 4), true));
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        DecimalNumber number = toDecimal(value);
        roundToSignificant(number, precision);
        if (number.exponent > precision) return generalText(value, precision, 0);
        const AnsiString amount = fixedText(number, std::clamp(digits, 0, 18), format != ffFixed);
        DecimalNumber rounded = number;
        roundToDecimals(rounded, digits);
        const bool negative = number.negative && !rounded.isZero();
        if (format == ffCurrency) return currencyText(amount, negative);
        return negative ? "-" + amount : amount;
    }
    default:
        return generalText(value, precision, std::clamp(digits, 0, 4));
    }
}

// ---- FormatFloat pictures -----------------------------------------------------------

std::vector<AnsiString> splitSections(const AnsiString& format) {
    std::vector<AnsiString> sections(1);
    char quote = 0;
    for (char c : format) {
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back().push_back(c);
    }
    return sections;
}

struct Picture {
    int integerPlaces = 0; // "0" and "#" before the decimal point
    int minimumIntegerDigits = 0;
    int fractionPlaces = 0; // "0" and "#" after it
    int minimumFractionDigits = 0;
    bool thousands = false;
    bool scientific = false;
    bool exponentAlwaysSigned = false;
    int exponentDigits = 0;
    bool hasPlaceholders() const { return integerPlaces + fractionPlaces > 0; }
};

bool isExponentAt(const AnsiString& section, std::size_t i) {
    return (section[i] == 'E' || section[i] == 'e') && i + 1 < section.size() &&
           (section[i + 1] == '+' || section[i + 1] == '-');
}

Picture analysePicture(const AnsiString& section) {
    Picture picture;
    bool afterPoint = false;
    int firstZero = -1;
    char quote = 0;
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (quote != 0) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++picture.fractionPlaces;
                if (c == '0') picture.minimumFractionDigits = picture.fractionPlaces;
            } else {
                if (c == '0' && firstZero < 0) firstZero = picture.integerPlaces;
                ++picture.integerPlaces;
            }
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == ',') {
            picture.thousands = true;
        } else if (isExponentAt(section, i) && !picture.scientific) {
            picture.scientific = true;
            picture.exponentAlwaysSigned = section[i + 1] == '+';
            i += 2;
            while (i < section.size() && section[i] == '0') {
                ++picture.exponentDigits;
                ++i;
            }
            --i;
        }
    }
    if (firstZero >= 0) picture.minimumIntegerDigits = picture.integerPlaces - firstZero;
    return picture;
}

// The digits a picture places: the integer digits (with the leading zeros
// the picture asks for), the fraction digits and the exponent text.
struct PlacedNumber {
    AnsiString integerDigits;
    AnsiString fractionDigits;
    AnsiString exponent;
};

PlacedNumber placeNumber(DecimalNumber number, const Picture& picture) {
    PlacedNumber placed;
    int exponent = 0;
    if (picture.scientific && !number.isZero()) {
        const int integerDigits = std::max(1, picture.integerPlaces);
        roundToSignificant(number, integerDigits + picture.fractionPlaces);
        exponent = number.exponent - integerDigits;
        number.exponent = integerDigits;
    } else {
        roundToDecimals(number, picture.fractionPlaces);
    }
    for (int i = 0; i < number.exponent; ++i)
        placed.integerDigits.push_back(digitAt(number, i));
    while (static_cast<int>(placed.integerDigits.size()) < picture.minimumIntegerDigits)
        placed.integerDigits.insert(placed.integerDigits.begin(), '0');
    for (int i = 0; i < picture.fractionPlaces; ++i)
        placed.fractionDigits.push_back(digitAt(number, number.exponent + i));
    while (static_cast<int>(placed.fractionDigits.size()) > picture.minimumFractionDigits &&
           placed.fractionDigits.back() == '0')
        placed.fractionDigits.pop_back();
    if (picture.scientific)
        placed.exponent = exponentText(exponent, picture.exponentDigits, picture.exponentAlwaysSigned);
    return placed;
}

// Walks the picture, putting digits at its placeholders and copying the rest.
AnsiString renderPicture(const AnsiString& section, const Picture& picture, const PlacedNumber& placed) {
    AnsiString out;
    const int integerDigits = static_cast<int>(placed.integerDigits.size());
    int integerPlace = 0, fractionPlace = 0;
    bool afterPoint = false;
    char quote = 0;
    auto putIntegerDigit = [&](int index) {
        out.push_back(placed.integerDigits[index]);
        const int power = integerDigits - 1 - index;
        if (picture.thousands && power > 0 && power % 3 == 0) out.push_back(ThousandSeparator);
    };
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else
                out.push_back(c);
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if ((c == '0' || c == '#') && !afterPoint) {
            // Placeholder k stands for the digit of power (places - 1 - k); the
            // first one also takes every digit above the picture's width.
            const int power = picture.integerPlaces - 1 - integerPlace;
            const int first = integerPlace == 0 ? 0 : integerDigits - 1 - power;
            const int last = integerDigits - 1 - power;
            for (int index = std::max(0, first); index <= last; ++index)
                putIntegerDigit(index);
            ++integerPlace;
        } else if (c == '0' || c == '#') {
            if (fractionPlace < static_cast<int>(placed.fractionDigits.size()))
                out.push_back(placed.fractionDigits[fractionPlace]);
            ++fractionPlace;
        } else if (c == '.') {
            if (!afterPoint && picture.integerPlaces == 0)
                for (int index = 0; index < integerDigits; ++index)
                    putIntegerDigit(index);
            if (!afterPoint && !placed.fractionDigits.empty()) out.push_back(DecimalSeparator);
            afterPoint = true;
        } else if (c == ',') {
            continue;
        } else if (isExponentAt(section, i) && !placed.exponent.empty()) {
            out += placed.exponent;
            i += 2;
            while (i < section.size() && section[i] == '0')
                ++i;
            --i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// ---- Integers ---------------------------------------------------------------------

struct ParsedInteger {
    bool negative = false;
    UInt64 magnitude = 0;
    bool hexadecimal = false;
};

std::optional<ParsedInteger> parseInteger(const AnsiString& s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    ParsedInteger parsed;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) parsed.negative = s[i++] == '-';
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        parsed.hexadecimal = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        parsed.hexadecimal = true;
        i += 2;
    }
    if (i >= s.size()) return std::nullopt;
    const UInt64 base = parsed.hexadecimal ? 16 : 10;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (parsed.hexadecimal && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (parsed.hexadecimal && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        if (parsed.magnitude > (std::numeric_limits<UInt64>::max() - digit) / base) return std::nullopt;
        parsed.magnitude = parsed.magnitude * base + digit;
    }
    return parsed;
}

// Decimal values must fit the signed range; hexadecimal ones may use every
// bit of the unsigned range and wrap.
template <typename Signed> std::optional<Signed> toSigned(const ParsedInteger& parsed) {
    using Unsigned = std::make_unsigned_t<Signed>;
    const UInt64 limit = parsed.hexadecimal ? std::numeric_limits<Unsigned>::max()
                                            : static_cast<UInt64>(std::numeric_limits<Signed>::max()) +
                                                  (parsed.negative ? 1 : 0);
    if (parsed.magnitude > limit) return std::nullopt;
    const auto bits = static_cast<Unsigned>(parsed.magnitude);
    return static_cast<Signed>(parsed.negative ? static_cast<Unsigned>(0 - bits) : bits);
}

AnsiString formatInvalidMessage(const char* text, const AnsiString& argument) {
    return Format(text, {argument});
}

// ---- Format ------------------------------------------------------------------------

struct Specifier {
    bool leftAlign = false;
    std::optional<int> width;
    std::optional<int> precision;
    char type = 0;
};

constexpr int MaxSpecifierNumber = 999999;

class Formatter {
public:
    Formatter(const AnsiString& format, const TVarRec* args, std::size_t count)
        : format_(format), args_(args), count_(count) {}

    AnsiString run() {
        while (position_ < format_.size()) {
            const char c = format_[position_++];
            if (c != '%') {
                out_.push_back(c);
            } else if (position_ < format_.size() && format_[position_] == '%') {
                out_.push_back('%');
                ++position_;
            } else {
                formatSpecifier();
            }
        }
        return out_;
    }

private:
    [[noreturn]] void invalid() const { throw EConvertError(formatInvalidMessage(SInvalidFormat, format_)); }
    [[noreturn]] void missing() const {
        throw EConvertError(formatInvalidMessage(SArgumentMissing, format_));
    }

    const TVarRec::Value& nextArgument() {
        if (argumentIndex_ >= count_) missing();
        return args_[argumentIndex_++].value();
    }

    int integerArgument() {
        const auto& value = nextArgument();
        if (const auto* number = std::get_if<TVarRec::Int32>(&value)) return number->value;
        if (const auto* number = std::get_if<TVarRec::Int64Value>(&value))
            return static_cast<int>(number->value);
        invalid();
    }

    // Digits or "*"; nothing when neither is there.
    std::optional<int> number() {
        if (position_ < format_.size() && format_[position_] == '*') {
            ++position_;
            return integerArgument();
        }
        if (position_ >= format_.size() || format_[position_] < '0' || format_[position_] > '9')
            return std::nullopt;
        int value = 0;
        while (position_ < format_.size() && format_[position_] >= '0' && format_[position_] <= '9') {
            value = value * 10 + (format_[position_++] - '0');
            if (value > MaxSpecifierNumber) invalid();
        }
        return value;
    }

    Specifier parseSpecifier() {
        Specifier spec;
        const std::size_t start = position_;
        const std::size_t savedArgument = argumentIndex_;
        if (const auto index = number(); index && position_ < format_.size() && format_[position_] == ':') {
            ++position_;
            argumentIndex_ = static_cast<std::size_t>(*index);
        } else {
            position_ = start;
            argumentIndex_ = savedArgument;
        }
        if (position_ < format_.size() && format_[position_] == '-') {
            spec.leftAlign = true;
            ++position_;
        }
        spec.width = number();
        if (position_ < format_.size() && format_[position_] == '.') {
            ++position_;
            spec.precision = number().value_or(0);
        }
        if (position_ >= format_.size()) invalid();
        spec.type = asciiLower(format_[position_++]);
        return spec;
    }

    void formatSpecifier() {
        const Specifier spec = parseSpecifier();
        AnsiString text;
        switch (spec.type) {
        case 'd':
        case 'u':
        case 'x':
            text = integerText(spec);
            break;
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm':
            text = floatArgumentText(spec);
            break;
        case 'p':
            text = pointerText();
            break;
        case 's':
            text = stringText(spec);
            break;
        case 'c':
            text = AnsiString(1, characterArgument());
            break;
        default:
            invalid();
        }
        pad(text, spec);
    }

    void pad(const AnsiString& text, const Specifier& spec) {
        const int width = spec.width.value_or(0);
        const int fill = std::max(0, width - static_cast<int>(text.size()));
        if (!spec.leftAlign) out_.append(fill, ' ');
        out_ += text;
        if (spec.leftAlign) out_.append(fill, ' ');
    }

    AnsiString integerText(const Specifier& spec) {
        const auto& value = nextArgument();
        Int64 signedValue;
        UInt64 bits;
        if (const auto* number = std::get_if<TVarRec::Int32>(&value)) {
            signedValue = number->value;
            bits = static_cast<std::uint32_t>(number->value);
        } else if (const auto* wide = std::get_if<TVarRec::Int64Value>(&value)) {
            signedValue = wide->value;
            bits = static_cast<UInt64>(wide->value);
        } else {
            invalid();
        }
        AnsiString digits;
        bool negative = false;
        if (spec.type == 'x') {
            digits = IntToHexBits(bits, 0);
        } else if (spec.type == 'u') {
            digits = std::to_string(bits);
        } else {
            negative = signedValue < 0;
            digits = std::to_string(negative ? 0 - static_cast<UInt64>(signedValue) : signedValue);
        }
        const int precision = spec.precision.value_or(0);
        if (static_cast<int>(digits.size()) < precision) digits.insert(0, precision - digits.size(), '0');
        return negative ? "-" + digits : digits;
    }

    AnsiString floatArgumentText(const Specifier& spec) {
        const auto* value = std::get_if<double>(&nextArgument());
        if (value == nullptr) invalid();
        constexpr int DefaultPrecision = 15, FixedPrecision = 18, ExponentDigits = 3;
        switch (spec.type) {
        case 'e':
            return floatText(*value, ffExponent, spec.precision.value_or(DefaultPrecision), ExponentDigits);
        case 'f':
            return floatText(*value, ffFixed, FixedPrecision, spec.precision.value_or(2));
        case 'g':
            return floatText(*value, ffGeneral, spec.precision.value_or(DefaultPrecision), 0);
        case 'n':
            return floatText(*value, ffNumber, FixedPrecision, spec.precision.value_or(2));
        default:
            return floatText(*value, ffCurrency, FixedPrecision, spec.precision.value_or(CurrencyDecimals));
        }
    }

    AnsiString pointerText() {
        const auto* value = std::get_if<const void*>(&nextArgument());
        if (value == nullptr) invalid();
        return IntToHexBits(reinterpret_cast<std::uintptr_t>(*value), 2 * sizeof(void*));
    }

    AnsiString stringText(const Specifier& spec) {
        const auto& value = nextArgument();
        AnsiString text;
        if (const auto* ansi = std::get_if<AnsiString>(&value))
            text = *ansi;
        else if (const auto* wide = std::get_if<WideString>(&value))
            text = WideToAnsi(*wide);
        else if (const auto* c = std::get_if<AnsiChar>(&value))
            text = AnsiString(1, *c);
        else if (const auto* w = std::get_if<WideChar>(&value))
            text = WideToAnsi(WideString(1, *w));
        else
            invalid();
        if (spec.precision && static_cast<int>(text.size()) > *spec.precision) text.resize(*spec.precision);
        return text;
    }

    char characterArgument() {
        const auto& value = nextArgument();
        if (const auto* c = std::get_if<AnsiChar>(&value)) return *c;
        if (const auto* w = std::get_if<WideChar>(&value)) return WideToAnsi(WideString(1, *w))[0];
        if (const auto* number = std::get_if<TVarRec::Int32>(&value)) return static_cast<char>(number->value);
        invalid();
    }

    const AnsiString& format_;
    const TVarRec* args_;
    std::size_t count_;
    std::size_t position_ = 0;
    std::size_t argumentIndex_ = 0;
    AnsiString out_;
};

// ---- Operating-system errors -------------------------------------------------------------

struct ErrorText {
    DWORD code;
    const char* text;
};

constexpr ErrorText SystemErrorTexts[] = {
    {OSErrorCode::Success, "The operation completed successfully."},
    {OSErrorCode::FileNotFound, "The system cannot find the file specified."},
    {OSErrorCode::PathNotFound, "The system cannot find the path specified."},
    {OSErrorCode::TooManyOpenFiles, "The system cannot open the file."},
    {OSErrorCode::AccessDenied, "Access is denied."},
    {OSErrorCode::InvalidHandle, "The handle is invalid."},
    {OSErrorCode::NotEnoughMemory, "Not enough storage is available to process this command."},
    {OSErrorCode::NotSameDevice, "The system cannot move the file to a different disk drive."},
    {OSErrorCode::NoMoreFiles, "There are no more files."},
    {OSErrorCode::WriteProtect, "The media is write protected."},
    {OSErrorCode::SharingViolation,
     "The process cannot access the file because it is being used by another process."},
    {OSErrorCode::NotSupported, "The request is not supported."},
    {OSErrorCode::FileExists, "The file exists."},
    {OSErrorCode::InvalidParameter, "The parameter is incorrect."},
    {OSErrorCode::DiskFull, "There is not enough space on the disk."},
    {OSErrorCode::InsufficientBuffer, "The data area passed to a system call is too small."},
    {OSErrorCode::InvalidName, "The filename, directory name, or volume label syntax is incorrect."},
    {OSErrorCode::NegativeSeek,
     "An attempt was made to move the file pointer before the beginning of the file."},
    {OSErrorCode::DirectoryNotEmpty, "The directory is not empty."},
    {OSErrorCode::AlreadyExists, "Cannot create a file when that file already exists."},
    {OSErrorCode::FileNameTooLong, "The filename or extension is too long."},
    {OSErrorCode::DirectoryInvalid, "The directory name is invalid."},
    {OSErrorCode::InvalidFlags, "Invalid flags."},
    {OSErrorCode::NoUnicodeTranslation,
     "No mapping for the Unicode character exists in the target multi-byte code page."},
};

struct ErrnoCode {
    int errorNumber;
    DWORD code;
};

constexpr ErrnoCode ErrnoCodes[] = {
    {ENOENT, OSErrorCode::FileNotFound},
    {ENOTDIR, OSErrorCode::PathNotFound},
    {EMFILE, OSErrorCode::TooManyOpenFiles},
    {ENFILE, OSErrorCode::TooManyOpenFiles},
    {EACCES, OSErrorCode::AccessDenied},
    {EPERM, OSErrorCode::AccessDenied},
    {EISDIR, OSErrorCode::AccessDenied},
    {EBADF, OSErrorCode::InvalidHandle},
    {ENOMEM, OSErrorCode::NotEnoughMemory},
    {EXDEV, OSErrorCode::NotSameDevice},
    {EROFS, OSErrorCode::WriteProtect},
    {EBUSY, OSErrorCode::SharingViolation},
    {ETXTBSY, OSErrorCode::SharingViolation},
    {EOPNOTSUPP, OSErrorCode::NotSupported},
    {EEXIST, OSErrorCode::FileExists},
    {EINVAL, OSErrorCode::InvalidParameter},
    {ENOSPC, OSErrorCode::DiskFull},
    {EDQUOT, OSErrorCode::DiskFull},
    {ENAMETOOLONG, OSErrorCode::FileNameTooLong},
    {ENOTEMPTY, OSErrorCode::DirectoryNotEmpty},
    {ELOOP, OSErrorCode::InvalidName},
};

// ---- Strings ----------------------------------------------------------------------------

template <typename Map> AnsiString mapCharacters(const AnsiString& s, Map map) {
    AnsiString result = s;
    for (char& c : result)
        c = map(c);
    return result;
}

bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

Integer sign(Integer value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

// ---- Format ----------------------------------------------------------------------------

AnsiString Format(const AnsiString& FormatText, std::initializer_list<TVarRec> Args) {
    return Formatter(FormatText, Args.begin(), Args.size()).run();
}

AnsiString Format(const AnsiString& FormatText, const std::vector<TVarRec>& Args) {
    return Formatter(FormatText, Args.data(), Args.size()).run();
}

// ---- Integers ----------------------------------------------------------------------------

AnsiString IntToStr(Int64 Value) {
    return std::to_string(Value);
}

AnsiString IntToHexBits(UInt64 Bits, Integer Digits) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    AnsiString text;
    do {
        text.insert(text.begin(), hexDigits[Bits & 0xF]);
        Bits >>= 4;
    } while (Bits != 0);
    if (static_cast<Integer>(text.size()) < Digits) text.insert(0, Digits - text.size(), '0');
    return text;
}

bool TryStrToInt(const AnsiString& S, Integer& Value) {
    const auto parsed = parseInteger(S);
    const auto value = parsed ? toSigned<Integer>(*parsed) : std::nullopt;
    if (value) Value = *value;
    return value.has_value();
}

bool TryStrToInt64(const AnsiString& S, Int64& Value) {
    const auto parsed = parseInteger(S);
    const auto value = parsed ? toSigned<Int64>(*parsed) : std::nullopt;
    if (value) Value = *value;
    return value.has_value();
}

Integer StrToInt(const AnsiString& S) {
    Integer value;
    if (!TryStrToInt(S, value)) throw EConvertError(formatInvalidMessage(SInvalidInteger, S));
    return value;
}

Integer StrToIntDef(const AnsiString& S, Integer Default) {
    Integer value;
    return TryStrToInt(S, value) ? value : Default;
}

Int64 StrToInt64(const AnsiString& S) {
    Int64 value;
    if (!TryStrToInt64(S, value)) throw EConvertError(formatInvalidMessage(SInvalidInteger, S));
    return value;
}

Int64 StrToInt64Def(const AnsiString& S, Int64 Default) {
    Int64 value;
    return TryStrToInt64(S, value) ? value : Default;
}

Integer MulDiv(Integer Number, Integer Numerator, Integer Denominator) {
    if (Denominator == 0) return -1;
    const Int64 product = static_cast<Int64>(Number) * Numerator;
    Int64 quotient = product / Denominator;
    const Int64 remainder = product % Denominator;
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<Int64>(Denominator)))
        quotient += (product < 0) != (Denominator < 0) ? -1 : 1;
    if (quotient > std::numeric_limits<Integer>::max() || quotient < std::numeric_limits<Integer>::min())
        return -1;
    return static_cast<Integer>(quotient);
}

// ---- Floating point ----------------------------------------------------------------------

AnsiString FloatToStr(double Value) {
    return floatText(Value, ffGeneral, 15, 0);
}

AnsiString FloatToStrF(double Value, TFloatFormat Format, Integer Precision, Integer Digits) {
    return floatText(Value, Format, Precision, Digits);
}

AnsiString FormatFloat(const AnsiString& Format, double Value) {
    if (const auto special = specialValueText(Value)) return *special;
    const std::vector<AnsiString> sections = splitSections(Format);
    if (Format.empty()) return FloatToStr(Value);

    DecimalNumber number = toDecimal(Value);
    const Picture firstPicture = analysePicture(sections[0]);
    DecimalNumber rounded = number;
    roundToDecimals(rounded, firstPicture.fractionPlaces);
    std::size_t chosen = 0;
    if (rounded.isZero() && sections.size() > 2 && !sections[2].empty())
        chosen = 2;
    else if (number.negative && !rounded.isZero() && sections.size() > 1 && !sections[1].empty())
        chosen = 1;

    const AnsiString& section = sections[chosen];
    const Picture picture = analysePicture(section);
    // A section of its own for negative values shows no minus sign.
    const bool showMinus = chosen == 0 && number.negative;
    number.negative = false;
    if (!picture.hasPlaceholders()) return renderPicture(section, picture, {});
    const PlacedNumber placed = placeNumber(number, picture);
    const bool anyDigit =
        (placed.integerDigits + placed.fractionDigits).find_first_not_of('0') != AnsiString::npos;
    const AnsiString text = renderPicture(section, picture, placed);
    return showMinus && anyDigit ? "-" + text : text;
}

bool TryStrToFloat(const AnsiString& S, double& Value) {
    const std::size_t first = S.find_first_not_of(' ');
    if (first == AnsiString::npos) return false;
    const std::size_t last = S.find_last_not_of(' ');
    AnsiString text = S.substr(first, last - first + 1);
    // Only the framework's decimal separator counts as one, whatever the C
    // library's locale says.
    for (char& c : text) {
        if (c == '.' && DecimalSeparator != '.') return false;
        if (c == DecimalSeparator) c = '.';
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
        if (!allowed) return false;
    }
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    Value = value;
    return true;
}

double StrToFloat(const AnsiString& S) {
    double value;
    if (!TryStrToFloat(S, value)) throw EConvertError(formatInvalidMessage(SInvalidFloat, S));
    return value;
}

double StrToFloatDef(const AnsiString& S, double Default) {
    double value;
    return TryStrToFloat(S, value) ? value : Default;
}

// ---- Strings ---------------------------------------------------------------------------

AnsiString UpperCase(const AnsiString& S) {
    return mapCharacters(S, asciiUpper);
}
AnsiString LowerCase(const AnsiString& S) {
    return mapCharacters(S, asciiLower);
}
AnsiString AnsiUpperCase(const AnsiString& S) {
    return mapCharacters(S, AnsiCharUpper);
}
AnsiString AnsiLowerCase(const AnsiString& S) {
    return mapCharacters(S, AnsiCharLower);
}

Integer CompareStr(const AnsiString& S1, const AnsiString& S2) {
    return sign(S1.compare(S2));
}

Integer CompareText(const AnsiString& S1, const AnsiString& S2) {
    const std::size_t common = std::min(S1.size(), S2.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto a = static_cast<unsigned char>(asciiUpper(S1[i]));
        const auto b = static_cast<unsigned char>(asciiUpper(S2[i]));
        if (a != b) return a < b ? -1 : 1;
    }
    return S1.size() == S2.size() ? 0 : (S1.size() < S2.size() ? -1 : 1);
}

bool SameText(const AnsiString& S1, const AnsiString& S2) {
    return CompareText(S1, S2) == 0;
}
Integer AnsiCompareStr(const AnsiString& S1, const AnsiString& S2) {
    return LocaleCompareAnsi(S1, S2, false);
}
Integer AnsiCompareText(const AnsiString& S1, const AnsiString& S2) {
    return LocaleCompareAnsi(S1, S2, true);
}
bool AnsiSameText(const AnsiString& S1, const AnsiString& S2) {
    return AnsiCompareText(S1, S2) == 0;
}
bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2) {
    return AnsiCompareStr(S1, S2) == 0;
}

AnsiString Trim(const AnsiString& S) {
    return TrimLeft(TrimRight(S));
}

AnsiString TrimLeft(const AnsiString& S) {
    const auto first = std::find_if_not(S.begin(), S.end(), isTrimmed);
    return AnsiString(first, S.end());
}

AnsiString TrimRight(const AnsiString& S) {
    const auto last = std::find_if_not(S.rbegin(), S.rend(), isTrimmed);
    return AnsiString(S.begin(), last.base());
}

Integer Pos(const AnsiString& SubStr, const AnsiString& S) {
    if (SubStr.empty()) return 0;
    const std::size_t found = S.find(SubStr);
    return found == AnsiString::npos ? 0 : static_cast<Integer>(found) + 1;
}

Integer AnsiPos(const AnsiString& SubStr, const AnsiString& S) {
    return Pos(SubStr, S);
}

Integer LastDelimiter(const AnsiString& Delimiters, const AnsiString& S) {
    const std::size_t found = S.find_last_of(Delimiters);
    return found == AnsiString::npos ? 0 : static_cast<Integer>(found) + 1;
}

AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern, const AnsiString& NewPattern,
                         TReplaceFlags Flags) {
    if (OldPattern.empty()) return S;
    const bool ignoreCase = (Flags & rfIgnoreCase) != 0;
    const AnsiString searchText = ignoreCase ? AnsiUpperCase(S) : S;
    const AnsiString pattern = ignoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
    AnsiString result;
    std::size_t from = 0;
    for (;;) {
        const std::size_t found = searchText.find(pattern, from);
        if (found == AnsiString::npos) break;
        result.append(S, from, found - from);
        result += NewPattern;
        from = found + pattern.size();
        if ((Flags & rfReplaceAll) == 0) break;
    }
    result.append(S, from, AnsiString::npos);
    return result;
}

AnsiString QuotedStr(const AnsiString& S) {
    return AnsiQuotedStr(S, '\'');
}

AnsiString AnsiQuotedStr(const AnsiString& S, char Quote) {
    AnsiString result(1, Quote);
    for (char c : S) {
        result.push_back(c);
        if (c == Quote) result.push_back(Quote);
    }
    result.push_back(Quote);
    return result;
}

AnsiString AnsiExtractQuotedStr(const AnsiString& Text, std::size_t& Position, char Quote) {
    if (Position >= Text.size() || Text[Position] != Quote) return {};
    AnsiString value;
    ++Position;
    while (Position < Text.size()) {
        const char c = Text[Position++];
        if (c != Quote) {
            value.push_back(c);
        } else if (Position < Text.size() && Text[Position] == Quote) {
            value.push_back(Quote);
            ++Position;
        } else {
            break;
        }
    }
    return value;
}

// ---- Exceptions and operating-system errors ---------------------------------------------

AnsiString SysErrorMessage(DWORD ErrorCode) {
    for (const ErrorText& entry : SystemErrorTexts)
        if (entry.code == ErrorCode) return entry.text;
    if ((ErrorCode & OSErrorCode::ErrnoFlag) != 0)
        return Utf8ToAnsi(std::strerror(static_cast<int>(ErrorCode & ~OSErrorCode::ErrnoFlag)));
    return {};
}

DWORD OSErrorFromErrno(int ErrorNumber) {
    for (const ErrnoCode& entry : ErrnoCodes)
        if (entry.errorNumber == ErrorNumber) return entry.code;
    return OSErrorCode::ErrnoFlag | static_cast<DWORD>(ErrorNumber);
}

void RaiseLastOSError() {
    RaiseLastOSError(GetLastOSError());
}

void RaiseLastOSError(DWORD ErrorCode) {
    if (ErrorCode == OSErrorCode::Success) throw EOSError(SUnkOSError, ErrorCode);
    throw EOSError(Format(SOSError, {ErrorCode, SysErrorMessage(ErrorCode)}), ErrorCode);
}

void Abort() {
    throw EAbort(SOperationAborted);
}
void AbstractError() {
    throw EAbstractError(SAbstractError);
}

void Assert(bool Condition, const AnsiString& Message, TSourceLocation Where) {
    if (Condition) return;
    const AnsiString file = Where.file_name();
    const AnsiString unit = file.substr(file.find_last_of("/\\") + 1);
    const AnsiString text = Message.empty() ? AnsiString(SAssertionFailed) : Message;
    throw EAssertionFailed(Format(SAssertError, {text, unit, static_cast<Int64>(Where.line())}));
}

// ---- Time ------------------------------------------------------------------------------

namespace {
constexpr double UnixEpochAsDateTime = 25569.0; // 1 January 1970
constexpr double SecondsPerDay = 86400.0;
} // namespace

TDateTime Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    const double seconds = static_cast<double>(now.tv_sec + local.tm_gmtoff) + now.tv_nsec / 1e9;
    return UnixEpochAsDateTime + seconds / SecondsPerDay;
}

DWORD GetTickCount() {
    return ClockMilliseconds();
}

void Sleep(DWORD Milliseconds) {
    if (PausesDisabled()) return;
    if (IsClockStepped()) {
        AdvanceClock(Milliseconds);
        return;
    }
    timespec remaining{static_cast<time_t>(Milliseconds / 1000),
                       static_cast<long>(Milliseconds % 1000) * 1000000};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}
