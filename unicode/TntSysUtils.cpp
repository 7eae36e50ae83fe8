// Wide system utilities on top of the layer's operating-system wrappers.
#include "unicode/TntSysUtils.h"

#include "platform/core/CodePages.h"
#include "platform/win/Kernel.h"
#include "platform/win/LastError.h"
#include "platform/win/Modules.h"
#include "platform/win/SystemInfo.h"
#include "unicode/TntSystem.h"
#include "unicode/TntWindows.h"

#include <algorithm>
#include <array>
#include <cfenv>
#include <ctime>
#include <optional>

using namespace kernel32;

namespace {

constexpr WideChar PathDelimiter = u'\\';
constexpr WideChar DriveDelimiter = u':';
constexpr const char16_t* PathAndDriveDelimiters = u"\\:";
constexpr WideChar LineSeparator = 0x2028;
constexpr WideChar CR = u'\r';
constexpr WideChar LF = u'\n';
constexpr Integer InvalidFileAge = -1;
constexpr Integer SpecialAttributes = faHidden | faSysFile | faVolumeID | faDirectory;
constexpr int LocaleBufferSize = 255;
constexpr DWORD MessageBufferSize = 256;
constexpr int CurrencyBufferSize = 64;

constexpr const char* SUnableToCreateDirectory = "Unable to create directory";
constexpr const char* SInvalidDateTime = "'%s' is not a valid date and time";
constexpr const char* SInvalidDate = "'%s' is not a valid date";
constexpr const char* SInvalidTime = "'%s' is not a valid time";
constexpr const char* STypeMismatch = "Type mismatch.";
constexpr const char* SUnspecifiedError = "Unspecified error (%d) from %s.";
constexpr const char* SCantLoadPackage = "Can't load package %s.\r\n%s";

// ---- Strings ---------------------------------------------------------------------------

bool isWordBoundary(WideChar c) {
    return c == 0 || IsWideCharSpace(c) || IsWideCharPunct(c);
}

bool isLineBreakStart(WideChar c) {
    return c == CR || c == LF || c == LineSeparator;
}

// The length of the line break at S[i] (CR LF counts two), 0 when there is none.
std::size_t lineBreakLength(const WideString& s, std::size_t i) {
    if (!isLineBreakStart(s[i])) return 0;
    return s[i] == CR && i + 1 < s.size() && s[i + 1] == LF ? 2 : 1;
}

const char16_t* lineBreakOf(TTntTextLineBreakStyle style) {
    switch (style) {
    case tlbsLF:
        return u"\n";
    case tlbsCR:
        return u"\r";
    default:
        return u"\r\n";
    }
}

// Sets the decimal separator to "." for one conversion.
class UsDecimalSeparator {
public:
    UsDecimalSeparator() : saved_(DecimalSeparator) { DecimalSeparator = '.'; }
    ~UsDecimalSeparator() { DecimalSeparator = saved_; }
    UsDecimalSeparator(const UsDecimalSeparator&) = delete;
    UsDecimalSeparator& operator=(const UsDecimalSeparator&) = delete;

private:
    char saved_;
};

// ---- Wrapping ---------------------------------------------------------------------------

bool isQuote(WideChar c) {
    return c == u'"' || c == u'\'';
}

bool isBreakChar(WideChar c, const WideString& breakChars) {
    return c <= 0xFF && breakChars.find(c) != WideString::npos;
}

bool sameTextAt(const WideString& line, std::size_t position, const WideString& text) {
    return line.size() - position >= text.size() &&
           Tnt_WideUpperCase(line.substr(position, text.size())) == Tnt_WideUpperCase(text);
}

// Positions are 1-based, as the algorithm was laid down.
class TextWrapper {
public:
    TextWrapper(const WideString& line, const WideString& breakStr, const WideString& breakChars,
                Integer maxCol)
        : line_(line), breakStr_(breakStr), breakChars_(breakChars), maxCol_(maxCol) {}

    WideString wrap() {
        const auto length = static_cast<Integer>(line_.size());
        while (position_ <= length) {
            const WideChar c = at(position_);
            scan(c);
            ++position_;
            ++column_;
            if (!quote_ && (existingBreak_ || (column_ > maxCol_ && breakPosition_ > lineStart_)))
                breakLine(c);
        }
        result_ += line_.substr(static_cast<std::size_t>(lineStart_ - 1));
        return result_;
    }

private:
    WideChar at(Integer position) const { return line_[static_cast<std::size_t>(position - 1)]; }

    void scan(WideChar c) {
        if (!breakStr_.empty() && c == breakStr_[0] && !quote_) {
            existingBreak_ = sameTextAt(line_, static_cast<std::size_t>(position_ - 1), breakStr_);
            if (existingBreak_) {
                position_ += static_cast<Integer>(breakStr_.size()) - 1;
                breakPosition_ = position_;
            }
        } else if (isBreakChar(c, breakChars_) && !quote_) {
            breakPosition_ = position_;
        } else if (isQuote(c)) {
            if (!quote_)
                quote_ = c;
            else if (*quote_ == c)
                quote_.reset();
        }
    }

    void breakLine(WideChar c) {
        const auto length = static_cast<Integer>(line_.size());
        column_ = position_ - breakPosition_;
        result_ += line_.substr(static_cast<std::size_t>(lineStart_ - 1),
                                static_cast<std::size_t>(breakPosition_ - lineStart_ + 1));
        if (!isQuote(c))
            while (position_ <= length) {
                if (isBreakChar(at(position_), breakChars_))
                    ++position_;
                else if (position_ < length && at(position_) == CR && at(position_ + 1) == LF)
                    position_ += 2;
                else
                    break;
            }
        if (!existingBreak_ && position_ <= length) result_ += breakStr_;
        lineStart_ = breakPosition_ + 1;
        existingBreak_ = false;
    }

    const WideString& line_;
    const WideString& breakStr_;
    const WideString& breakChars_;
    const Integer maxCol_;
    WideString result_;
    Integer position_ = 1;
    Integer column_ = 1;
    Integer lineStart_ = 1;
    Integer breakPosition_ = 0;
    std::optional<WideChar> quote_;
    bool existingBreak_ = false;
};

// ---- File names ---------------------------------------------------------------------------

// 0-based index just after the last "\" or ":", 0 when none.
std::size_t nameStart(const WideString& fileName) {
    const std::size_t found = fileName.find_last_of(PathAndDriveDelimiters);
    return found == WideString::npos ? 0 : found + 1;
}

// 0-based index of the extension's ".", npos when none.
std::size_t extensionStart(const WideString& fileName) {
    const std::size_t dot = fileName.find_last_of(u'.');
    return dot != WideString::npos && dot >= nameStart(fileName) ? dot : WideString::npos;
}

bool sameFileName(const WideString& a, const WideString& b) {
    return Tnt_WideUpperCase(a) == Tnt_WideUpperCase(b);
}

// The folders of a path that ends with "\".
std::vector<WideString> foldersOf(const WideString& path) {
    std::vector<WideString> folders;
    std::size_t start = 0;
    for (std::size_t end = path.find(PathDelimiter); end != WideString::npos;
         end = path.find(PathDelimiter, start)) {
        folders.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

// Calls a wrapper that fills a buffer, growing the buffer until the name fits.
template <typename Call> WideString nameOfAnyLength(Call call) {
    std::vector<WideChar> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return WideString(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

// ---- Files --------------------------------------------------------------------------------

THandle handleValue(HANDLE handle) {
    return static_cast<THandle>(reinterpret_cast<INT_PTR>(handle));
}

Integer dosTimeOf(const FILETIME& fileTime) {
    FILETIME local;
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&fileTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
        return InvalidFileAge;
    return static_cast<Integer>((static_cast<Cardinal>(date) << 16) | time);
}

Integer matchingFile(TSearchRecW& F) {
    while ((F.FindData.dwFileAttributes & static_cast<DWORD>(F.ExcludeAttr)) != 0)
        if (!Tnt_FindNextFileW(F.FindHandle, &F.FindData)) return static_cast<Integer>(GetLastError());
    F.Time = dosTimeOf(F.FindData.ftLastWriteTime);
    F.Size =
        static_cast<Int64>((static_cast<UInt64>(F.FindData.nFileSizeHigh) << 32) | F.FindData.nFileSizeLow);
    F.Attr = static_cast<Integer>(F.FindData.dwFileAttributes);
    F.Name = F.FindData.cFileName;
    return 0;
}

// ---- Dates and currency ---------------------------------------------------------------------

constexpr DWORD VAR_TIMEVALUEONLY = 1;
constexpr DWORD VAR_DATEVALUEONLY = 2;
constexpr Integer DaysFromCivilEpochToDateEpoch = 25569; // 1970-01-01 minus 1899-12-30
constexpr Integer TwoDigitYearPivot = 30;
constexpr double SecondsPerDay = 86400.0;

Integer daysFromCivil(Integer year, Integer month, Integer day) {
    year -= month <= 2;
    const Integer era = (year >= 0 ? year : year - 399) / 400;
    const Integer yearOfEra = year - era * 400;
    const Integer dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const Integer dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Integer daysInMonth(Integer year, Integer month) {
    static constexpr Integer Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : Days[month - 1];
}

std::vector<WideString> tokensOf(const WideString& text) {
    std::vector<WideString> tokens;
    WideString token;
    for (const WideChar c : text + u' ') {
        if (c > u' ') {
            token += c;
        } else if (!token.empty()) {
            tokens.push_back(token);
            token.clear();
        }
    }
    return tokens;
}

std::optional<std::vector<Integer>> numbersOf(const WideString& token, WideChar separator) {
    std::vector<Integer> numbers;
    Integer value = 0, digits = 0;
    for (const WideChar c : token + separator) {
        if (c >= u'0' && c <= u'9' && digits < 5) {
            value = value * 10 + (c - u'0');
            ++digits;
        } else if (c == separator && digits > 0) {
            numbers.push_back(value);
            value = digits = 0;
        } else {
            return std::nullopt;
        }
    }
    return numbers;
}

Integer currentYear() {
    const std::time_t now = std::time(nullptr);
    struct tm parts {};
    localtime_r(&now, &parts);
    return parts.tm_year + 1900;
}

std::optional<Integer> parseDate(const WideString& token) {
    const WideChar separator = token.find(u'/') != WideString::npos ? u'/' : u'-';
    const auto numbers = numbersOf(token, separator);
    if (!numbers || numbers->size() < 2 || numbers->size() > 3) return std::nullopt;
    const bool isoOrder = numbers->size() == 3 && (*numbers)[0] > 31;
    const Integer month = isoOrder ? (*numbers)[1] : (*numbers)[0];
    const Integer day = isoOrder ? (*numbers)[2] : (*numbers)[1];
    Integer year = numbers->size() == 2 ? currentYear() : (isoOrder ? (*numbers)[0] : (*numbers)[2]);
    if (year < 100) year += year < TwoDigitYearPivot ? 2000 : 1900;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return std::nullopt;
    return daysFromCivil(year, month, day) + DaysFromCivilEpochToDateEpoch;
}

std::optional<double> parseTime(const WideString& token, const WideString& meridiem) {
    const auto numbers = numbersOf(token, u':');
    if (!numbers || numbers->size() < 2 || numbers->size() > 3) return std::nullopt;
    Integer hour = (*numbers)[0];
    const Integer minute = (*numbers)[1], second = numbers->size() == 3 ? (*numbers)[2] : 0;
    const WideString marker = Tnt_WideUpperCase(meridiem);
    if (!marker.empty()) {
        if ((marker != u"AM" && marker != u"PM") || hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (marker == u"PM" ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return (hour * 3600 + minute * 60 + second) / SecondsPerDay;
}

// The user locale's date and time text as the system reads it.
std::optional<TDateTime> dateFromString(const WideString& text, DWORD flags) {
    const std::vector<WideString> tokens = tokensOf(text);
    std::optional<Integer> date;
    std::optional<double> time;
    std::size_t next = 0;
    if (next < tokens.size() && tokens[next].find(u':') == WideString::npos &&
        (date = parseDate(tokens[next])))
        ++next;
    if (next < tokens.size()) {
        const WideString meridiem = next + 1 < tokens.size() ? tokens[next + 1] : WideString();
        if (!(time = parseTime(tokens[next], meridiem))) return std::nullopt;
        next += meridiem.empty() ? 1 : 2;
    }
    if (next != tokens.size() || (!date && !time)) return std::nullopt;
    const double datePart = (flags & VAR_TIMEVALUEONLY) ? 0 : date.value_or(0);
    const double timePart = (flags & VAR_DATEVALUEONLY) ? 0 : time.value_or(0);
    return datePart + timePart;
}

TDateTime convertDate(const WideString& text, DWORD flags, const char* message) {
    if (const auto value = dateFromString(text, flags)) return *value;
    throw EConvertError(Format(message, {WideToAnsi(text)}) + "\r\n" + STypeMismatch);
}

// The amount times 10000, rounded half away from zero; parentheses or a sign
// make it negative; "$" and thousands separators are allowed.
std::optional<Currency> currencyFromString(const WideString& text) {
    WideString s;
    for (const WideChar c : text)
        if (c != u' ' && c != u'$' && c != u',') s += c;
    bool negative = false;
    if (s.size() >= 2 && s.front() == u'(' && s.back() == u')') {
        negative = true;
        s = s.substr(1, s.size() - 2);
    } else if (!s.empty() && (s.front() == u'-' || s.front() == u'+')) {
        negative = s.front() == u'-';
        s.erase(0, 1);
    }
    UInt64 scaled = 0;
    Integer fractionDigits = -1, digits = 0;
    bool roundUp = false;
    for (const WideChar c : s) {
        if (c == u'.' && fractionDigits < 0) {
            fractionDigits = 0;
            continue;
        }
        if (c < u'0' || c > u'9') return std::nullopt;
        ++digits;
        if (fractionDigits >= 4) {
            if (fractionDigits++ == 4) roundUp = c >= u'5';
            continue;
        }
        if (scaled > (static_cast<UInt64>(INT64_MAX) - 9) / 10) return std::nullopt;
        scaled = scaled * 10 + (c - u'0');
        if (fractionDigits >= 0) ++fractionDigits;
    }
    if (digits == 0) return std::nullopt;
    for (Integer i = std::max(fractionDigits, 0); i < 4; ++i) {
        if (scaled > static_cast<UInt64>(INT64_MAX) / 10) return std::nullopt;
        scaled *= 10;
    }
    if (roundUp) ++scaled;
    if (scaled > static_cast<UInt64>(INT64_MAX)) return std::nullopt;
    return negative ? -static_cast<Currency>(scaled) : static_cast<Currency>(scaled);
}

// ---- Character classes ------------------------------------------------------------------------

Word characterType(WideChar c) {
    WORD type = 0;
    if (!Tnt_GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, &c, 1, &type)) RaiseLastOSError();
    return type;
}

} // namespace

// ---- Strings ------------------------------------------------------------------------------------

WideString Tnt_WideUpperCase(const WideString& S) {
    WideString result = S;
    if (!result.empty()) Tnt_CharUpperBuffW(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

WideString Tnt_WideLowerCase(const WideString& S) {
    WideString result = S;
    if (!result.empty()) Tnt_CharLowerBuffW(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

WideChar WideLastChar(const WideString& S) {
    return S.empty() ? 0 : S.back();
}

WideString Tnt_WideStringReplace(const WideString& S, const WideString& OldPattern,
                                 const WideString& NewPattern, TReplaceFlags Flags, bool WholeWord) {
    if (OldPattern.empty()) return S;
    const bool ignoreCase = (Flags & rfIgnoreCase) != 0;
    const WideString searchText = ignoreCase ? Tnt_WideUpperCase(S) : S;
    const WideString pattern = ignoreCase ? Tnt_WideUpperCase(OldPattern) : OldPattern;
    WideString result;
    std::size_t rest = 0;
    for (;;) {
        const std::size_t match = searchText.find(pattern, rest);
        if (match == WideString::npos) break;
        const std::size_t after = match + pattern.size();
        if (WholeWord) {
            const WideChar before = match > rest ? S[match - 1] : WideLastChar(result);
            const WideChar next = after < S.size() ? S[after] : 0;
            if (!isWordBoundary(before) || !isWordBoundary(next)) {
                result += S.substr(rest, after - rest);
                rest = after;
                continue;
            }
        }
        result += S.substr(rest, match - rest) + NewPattern;
        rest = after;
        if ((Flags & rfReplaceAll) == 0) break;
    }
    return result + S.substr(rest);
}

Integer TntAdjustLineBreaksLength(const WideString& S, TTntTextLineBreakStyle Style) {
    const auto breakLength = static_cast<Integer>(std::char_traits<char16_t>::length(lineBreakOf(Style)));
    Integer length = 0;
    for (std::size_t i = 0; i < S.size();) {
        const std::size_t found = lineBreakLength(S, i);
        length += found ? breakLength : 1;
        i += found ? found : 1;
    }
    return length;
}

WideString TntAdjustLineBreaks(const WideString& S, TTntTextLineBreakStyle Style) {
    const char16_t* lineBreak = lineBreakOf(Style);
    WideString result;
    result.reserve(static_cast<std::size_t>(TntAdjustLineBreaksLength(S, Style)));
    for (std::size_t i = 0; i < S.size();) {
        const std::size_t found = lineBreakLength(S, i);
        if (found) {
            result += lineBreak;
            i += found;
        } else {
            result += S[i++];
        }
    }
    return result;
}

WideString WideQuotedStr(const WideString& S, WideChar Quote) {
    WideString result(1, Quote);
    for (const WideChar c : S) {
        result += c;
        if (c == Quote) result += c;
    }
    return result + Quote;
}

WideString Tnt_WideExtractQuotedStr(const WideChar*& P, WideChar Quote) {
    WideString result;
    if (!P || *P != Quote) return result;
    for (++P; *P; ++P) {
        if (*P == Quote) {
            if (P[1] != Quote) {
                ++P;
                break;
            }
            ++P;
        }
        result += *P;
    }
    return result;
}

WideString WideDequotedStr(const WideString& S, WideChar Quote) {
    const WideChar* position = S.c_str();
    const WideString value = Tnt_WideExtractQuotedStr(position, Quote);
    return value.empty() ? S : value;
}

WideString WideWrapText(const WideString& Line, const WideString& BreakStr, const WideString& BreakChars,
                        Integer MaxCol) {
    return TextWrapper(Line, BreakStr, BreakChars, MaxCol).wrap();
}

WideString WideWrapText(const WideString& Line, Integer MaxCol) {
    return WideWrapText(Line, u"\r\n", u" \t-", MaxCol);
}

Integer WideTextPos(const WideString& SubStr, const WideString& S) {
    if (SubStr.empty()) return 0;
    const std::size_t found = Tnt_WideUpperCase(S).find(Tnt_WideUpperCase(SubStr));
    return found == WideString::npos ? 0 : static_cast<Integer>(found + 1);
}

bool IsWideCharMappableToAnsi(WideChar C) {
    return IsWideStringMappableToAnsi(WideString(1, C));
}

bool IsWideStringMappableToAnsi(const WideString& S) {
    bool usedDefault = false;
    WideToCodePage(S, DefaultSystemCodePage(), &usedDefault);
    return !usedDefault;
}

bool IsRTF(const WideString& S) {
    const WideString start = Tnt_WideUpperCase(S.substr(0, 5));
    return start == u"{\\RTF" || start == u"{URTF";
}

WideString ENG_US_FloatToStr(double Value) {
    UsDecimalSeparator separator;
    return AnsiToWide(FloatToStr(Value));
}

double ENG_US_StrToFloat(const WideString& S) {
    UsDecimalSeparator separator;
    return StrToFloat(WideToAnsi(S));
}

WideString ExtractStringArrayStr(const WideChar* P) {
    const WideChar* end = P;
    while (*end)
        end += std::char_traits<char16_t>::length(end) + 1;
    return WideString(P, static_cast<std::size_t>(end - P + 1));
}

WideString ExtractStringFromStringArray(const WideChar*& P, WideChar Separator) {
    const WideChar* start = P;
    while (*P && *P != Separator)
        ++P;
    WideString result(start, P);
    // With the NUL as separator this steps over the item's terminator.
    if (*P == Separator) ++P;
    return result;
}

std::vector<WideString> ExtractStringsFromStringArray(const WideChar* P, WideChar Separator) {
    std::vector<WideString> items;
    for (WideString item = ExtractStringFromStringArray(P, Separator); !item.empty();
         item = ExtractStringFromStringArray(P, Separator))
        items.push_back(item);
    return items;
}

// ---- File names -----------------------------------------------------------------------------------

WideString WideIncludeTrailingPathDelimiter(const WideString& S) {
    return WideLastChar(S) == PathDelimiter ? S : S + PathDelimiter;
}

WideString WideIncludeTrailingBackslash(const WideString& S) {
    return WideIncludeTrailingPathDelimiter(S);
}

WideString WideExcludeTrailingPathDelimiter(const WideString& S) {
    return WideLastChar(S) == PathDelimiter ? S.substr(0, S.size() - 1) : S;
}

WideString WideExcludeTrailingBackslash(const WideString& S) {
    return WideExcludeTrailingPathDelimiter(S);
}

bool WideIsPathDelimiter(const WideString& S, Integer Index) {
    return Index >= 1 && Index <= static_cast<Integer>(S.size()) &&
           S[static_cast<std::size_t>(Index - 1)] == PathDelimiter;
}

bool WideIsDelimiter(const WideString& Delimiters, const WideString& S, Integer Index) {
    return Index >= 1 && Index <= static_cast<Integer>(S.size()) &&
           Delimiters.find(S[static_cast<std::size_t>(Index - 1)]) != WideString::npos;
}

Integer WideLastDelimiter(const WideString& Delimiters, const WideString& S) {
    const std::size_t found = S.find_last_of(Delimiters);
    return found == WideString::npos ? 0 : static_cast<Integer>(found + 1);
}

WideString WideChangeFileExt(const WideString& FileName, const WideString& Extension) {
    const std::size_t dot = extensionStart(FileName);
    return (dot == WideString::npos ? FileName : FileName.substr(0, dot)) + Extension;
}

WideString WideExtractFilePath(const WideString& FileName) {
    return FileName.substr(0, nameStart(FileName));
}

WideString WideExtractFileDir(const WideString& FileName) {
    std::size_t end = nameStart(FileName);
    if (end > 1 && FileName[end - 1] == PathDelimiter &&
        !WideIsDelimiter(PathAndDriveDelimiters, FileName, static_cast<Integer>(end - 1)))
        --end;
    return FileName.substr(0, end);
}

WideString WideExtractFileDrive(const WideString& FileName) {
    if (FileName.size() >= 2 && FileName[1] == DriveDelimiter) return FileName.substr(0, 2);
    if (FileName.size() >= 2 && FileName[0] == PathDelimiter && FileName[1] == PathDelimiter) {
        const std::size_t serverEnd = FileName.find(PathDelimiter, 2);
        if (serverEnd == WideString::npos) return FileName;
        return FileName.substr(0, FileName.find(PathDelimiter, serverEnd + 1));
    }
    return {};
}

WideString WideExtractFileName(const WideString& FileName) {
    return FileName.substr(nameStart(FileName));
}

WideString WideExtractFileExt(const WideString& FileName) {
    const std::size_t dot = extensionStart(FileName);
    return dot == WideString::npos ? WideString() : FileName.substr(dot);
}

WideString WideExtractRelativePath(const WideString& BaseName, const WideString& DestName) {
    const WideString basePath = WideExtractFilePath(BaseName), destPath = WideExtractFilePath(DestName);
    if (!sameFileName(WideExtractFileDrive(basePath), WideExtractFileDrive(destPath))) return DestName;
    const std::vector<WideString> baseFolders = foldersOf(basePath), destFolders = foldersOf(destPath);
    std::size_t shared = 0;
    while (shared < baseFolders.size() && shared < destFolders.size() &&
           sameFileName(baseFolders[shared], destFolders[shared]))
        ++shared;
    WideString result;
    for (std::size_t i = shared; i < baseFolders.size(); ++i)
        result += u"..\\";
    for (std::size_t i = shared; i < destFolders.size(); ++i)
        result += destFolders[i] + PathDelimiter;
    return result + WideExtractFileName(DestName);
}

WideString WideExpandFileName(const WideString& FileName) {
    return nameOfAnyLength([&](LPWSTR buffer, DWORD size) {
        LPWSTR filePart = nullptr;
        return Tnt_GetFullPathNameW(FileName.c_str(), size, buffer, &filePart);
    });
}

WideString WideExtractShortPathName(const WideString& FileName) {
    return nameOfAnyLength(
        [&](LPWSTR buffer, DWORD size) { return Tnt_GetShortPathNameW(FileName.c_str(), buffer, size); });
}

// ---- Files and folders ---------------------------------------------------------------------------

THandle WideFileCreate(const WideString& FileName) {
    return handleValue(Tnt_CreateFileW(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

THandle WideFileOpen(const WideString& FileName, Cardinal Mode) {
    static constexpr DWORD AccessModes[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static constexpr DWORD ShareModes[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE};
    const Cardinal access = Mode & 3, share = (Mode & 0xF0) >> 4;
    if (access >= std::size(AccessModes) || share >= std::size(ShareModes)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return InvalidHandle;
    }
    return handleValue(Tnt_CreateFileW(FileName.c_str(), AccessModes[access], ShareModes[share], nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

Integer WideFileAge(const WideString& FileName) {
    WIN32_FIND_DATAW data;
    const HANDLE handle = Tnt_FindFirstFileW(FileName.c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) return InvalidFileAge;
    FindClose(handle);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return InvalidFileAge;
    return dosTimeOf(data.ftLastWriteTime);
}

bool WideFileExists(const WideString& FileName) {
    return WideFileAge(FileName) != InvalidFileAge;
}

bool WideDirectoryExists(const WideString& Name) {
    const DWORD attributes = Tnt_GetFileAttributesW(Name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

Cardinal WideFileGetAttr(const WideString& FileName) {
    return Tnt_GetFileAttributesW(FileName.c_str());
}

bool WideFileSetAttr(const WideString& FileName, Integer Attr) {
    return Tnt_SetFileAttributesW(FileName.c_str(), static_cast<DWORD>(Attr)) != FALSE;
}

bool WideFileIsReadOnly(const WideString& FileName) {
    const Cardinal attributes = WideFileGetAttr(FileName);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & faReadOnly) != 0;
}

bool WideFileSetReadOnly(const WideString& FileName, bool ReadOnly) {
    const Cardinal attributes = WideFileGetAttr(FileName);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const Cardinal changed = ReadOnly ? (attributes | faReadOnly) : (attributes & ~Cardinal(faReadOnly));
    return WideFileSetAttr(FileName, static_cast<Integer>(changed));
}

bool WideForceDirectories(WideString Dir) {
    if (Dir.empty()) throw ETntGeneralError(SUnableToCreateDirectory);
    Dir = WideExcludeTrailingBackslash(Dir);
    if (Dir.size() < 3 || WideDirectoryExists(Dir) || WideExtractFilePath(Dir) == Dir) return true;
    return WideForceDirectories(WideExtractFilePath(Dir)) && WideCreateDir(Dir);
}

WideString WideFileSearch(const WideString& Name, const WideString& DirList) {
    if (WideFileExists(Name)) return Name;
    std::size_t start = 0;
    while (start <= DirList.size()) {
        std::size_t end = DirList.find(u';', start);
        if (end == WideString::npos) end = DirList.size();
        WideString folder = DirList.substr(start, end - start);
        start = end + 1;
        if (folder.empty()) continue;
        if (WideLastChar(folder) != DriveDelimiter && WideLastChar(folder) != PathDelimiter)
            folder += PathDelimiter;
        if (WideFileExists(folder + Name)) return folder + Name;
    }
    return {};
}

bool WideRenameFile(const WideString& OldName, const WideString& NewName) {
    return Tnt_MoveFileW(OldName.c_str(), NewName.c_str()) != FALSE;
}

bool WideDeleteFile(const WideString& FileName) {
    return Tnt_DeleteFileW(FileName.c_str()) != FALSE;
}

bool WideCopyFile(const WideString& FromFile, const WideString& ToFile, bool FailIfExists) {
    return Tnt_CopyFileW(FromFile.c_str(), ToFile.c_str(), FailIfExists) != FALSE;
}

bool WideCreateDir(const WideString& Dir) {
    return Tnt_CreateDirectoryW(Dir.c_str(), nullptr) != FALSE;
}

bool WideRemoveDir(const WideString& Dir) {
    return Tnt_RemoveDirectoryW(Dir.c_str()) != FALSE;
}

bool WideSetCurrentDir(const WideString& Dir) {
    return Tnt_SetCurrentDirectoryW(Dir.c_str()) != FALSE;
}

Integer WideFindFirst(const WideString& Path, Integer Attr, TSearchRecW& F) {
    F.ExcludeAttr = ~Attr & SpecialAttributes;
    F.FindHandle = Tnt_FindFirstFileW(Path.c_str(), &F.FindData);
    if (F.FindHandle == INVALID_HANDLE_VALUE) return static_cast<Integer>(GetLastError());
    const Integer result = matchingFile(F);
    if (result != 0) WideFindClose(F);
    return result;
}

Integer WideFindNext(TSearchRecW& F) {
    if (!Tnt_FindNextFileW(F.FindHandle, &F.FindData)) return static_cast<Integer>(GetLastError());
    return matchingFile(F);
}

void WideFindClose(TSearchRecW& F) {
    if (F.FindHandle == INVALID_HANDLE_VALUE) return;
    FindClose(F.FindHandle);
    F.FindHandle = INVALID_HANDLE_VALUE;
}

WideString WideGetModuleFileName(HMODULE Instance) {
    std::vector<WideChar> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            Tnt_GetModuleFileNameW(Instance, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) RaiseLastOSError();
        if (length < buffer.size()) return WideString(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

HMODULE WideSafeLoadLibrary(const WideString& FileName, UINT ErrorMode) {
    const UINT previousMode = SetErrorMode(ErrorMode);
    HMODULE module = nullptr;
    try {
        module = Tnt_LoadLibraryW(FileName.c_str());
    } catch (...) {
        SetErrorMode(previousMode);
        throw;
    }
    const DWORD loadError = GetLastError();
    std::feclearexcept(FE_ALL_EXCEPT);
    SetErrorMode(previousMode);
    SetLastError(loadError);
    return module;
}

HMODULE WideLoadPackage(const WideString& Name) {
    HMODULE module = WideSafeLoadLibrary(Name, SEM_NOOPENFILEERRORBOX);
    if (module) return module;
    const AnsiString reason = SysErrorMessage(GetLastError());
    throw EPackageError(Format(SCantLoadPackage, {WideToAnsi(Name), reason}));
}

// ---- Locale, dates, currency ---------------------------------------------------------------------

WideString WideGetLocaleStr(LCID LocaleID, Integer LocaleType, const WideString& Default) {
    if (Win32PlatformIsUnicode) {
        WCHAR buffer[LocaleBufferSize] = {};
        const int length =
            GetLocaleInfoW(LocaleID, static_cast<LCTYPE>(LocaleType), buffer, LocaleBufferSize);
        return length > 0 ? WideString(buffer, static_cast<std::size_t>(length - 1)) : Default;
    }
    char buffer[LocaleBufferSize] = {};
    const int length = GetLocaleInfoA(LocaleID, static_cast<LCTYPE>(LocaleType), buffer, LocaleBufferSize);
    return length > 0 ? AnsiToWide(AnsiString(buffer, static_cast<std::size_t>(length - 1))) : Default;
}

bool ValidDateTimeStr(const WideString& Str) {
    return dateFromString(Str, 0).has_value();
}

bool ValidDateStr(const WideString& Str) {
    return dateFromString(Str, VAR_DATEVALUEONLY).has_value();
}

bool ValidTimeStr(const WideString& Str) {
    return dateFromString(Str, VAR_TIMEVALUEONLY).has_value();
}

TDateTime TntStrToDateTime(const WideString& Str) {
    return convertDate(Str, 0, SInvalidDateTime);
}

TDateTime TntStrToDate(const WideString& Str) {
    return convertDate(Str, VAR_DATEVALUEONLY, SInvalidDate);
}

TDateTime TntStrToTime(const WideString& Str) {
    return convertDate(Str, VAR_TIMEVALUEONLY, SInvalidTime);
}

TDateTime TntStrToDateTimeDef(const WideString& Str, TDateTime Default) {
    return dateFromString(Str, 0).value_or(Default);
}

TDateTime TntStrToDateDef(const WideString& Str, TDateTime Default) {
    return dateFromString(Str, VAR_DATEVALUEONLY).value_or(Default);
}

TDateTime TntStrToTimeDef(const WideString& Str, TDateTime Default) {
    return dateFromString(Str, VAR_TIMEVALUEONLY).value_or(Default);
}

Currency TntStrToCurr(const WideString& Str) {
    if (const auto value = currencyFromString(Str)) return *value;
    throw EConvertError(STypeMismatch);
}

bool ValidCurrencyStr(const WideString& Str) {
    return currencyFromString(Str).has_value();
}

Currency TntStrToCurrDef(const WideString& Str, Currency Default) {
    return currencyFromString(Str).value_or(Default);
}

WideString TntCurrToStr(Currency Value, const CURRENCYFMTW* Format) {
    const WideString number = ENG_US_FloatToStr(static_cast<double>(Value) / CurrencyScale);
    WCHAR buffer[CurrencyBufferSize] = {};
    const int length =
        Tnt_GetCurrencyFormatW(GetThreadLocale(), 0, number.c_str(), Format, buffer, CurrencyBufferSize);
    if (length == 0) RaiseLastOSError();
    return WideString(buffer, static_cast<std::size_t>(length - 1));
}

CURRENCYFMTW GetDefaultCurrencyFmt() {
    struct Texts {
        WideString decimal, thousand, symbol;
    };
    thread_local Texts texts;
    const LCID locale = GetThreadLocale();
    auto number = [&](LCTYPE type, const char16_t* fallback) {
        return static_cast<UINT>(
            StrToIntDef(WideToAnsi(WideGetLocaleStr(locale, static_cast<Integer>(type), fallback)), 0));
    };
    CURRENCYFMTW format;
    format.NumDigits = number(LOCALE_ICURRDIGITS, u"2");
    format.LeadingZero = number(LOCALE_ILZERO, u"1");
    const WideString grouping = WideGetLocaleStr(locale, LOCALE_SMONGROUPING, u"3;0");
    format.Grouping = grouping.empty() || grouping[0] < u'0' || grouping[0] > u'9' ? 0 : grouping[0] - u'0';
    texts.decimal = WideGetLocaleStr(locale, LOCALE_SMONDECIMALSEP, u".");
    texts.thousand = WideGetLocaleStr(locale, LOCALE_SMONTHOUSANDSEP, u",");
    texts.symbol = WideGetLocaleStr(locale, LOCALE_SCURRENCY, u"");
    format.lpDecimalSep = texts.decimal.data();
    format.lpThousandSep = texts.thousand.data();
    format.NegativeOrder = number(LOCALE_INEGCURR, u"0");
    format.PositiveOrder = number(LOCALE_ICURRENCY, u"0");
    format.lpCurrencySymbol = texts.symbol.data();
    return format;
}

// ---- Errors and checks -----------------------------------------------------------------------------

WideString WideSysErrorMessage(Integer ErrorCode) {
    return WideLibraryErrorMessage(u"system", nullptr, ErrorCode);
}

WideString WideLibraryErrorMessage(const WideString& LibName, HMODULE Dll, Integer ErrorCode) {
    DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY;
    if (Dll) flags |= FORMAT_MESSAGE_FROM_HMODULE;
    const auto code = static_cast<DWORD>(ErrorCode);
    WideString message;
    if (Win32PlatformIsUnicode) {
        WCHAR buffer[MessageBufferSize] = {};
        message.assign(buffer, FormatMessageW(flags, Dll, code, 0, buffer, MessageBufferSize, nullptr));
    } else {
        char buffer[MessageBufferSize] = {};
        message = AnsiToWide(
            AnsiString(buffer, FormatMessageA(flags, Dll, code, 0, buffer, MessageBufferSize, nullptr)));
    }
    if (std::all_of(message.begin(), message.end(), [](WideChar c) { return c <= u' '; }))
        return AnsiToWide(Format(SUnspecifiedError, {ErrorCode, WideToAnsi(LibName)}));
    return message;
}

bool CheckWin32Version(Integer AMajor, Integer AMinor) {
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    const auto major = static_cast<Integer>(version.dwMajorVersion),
               minor = static_cast<Integer>(version.dwMinorVersion);
    return major > AMajor || (major == AMajor && minor >= AMinor);
}

HANDLE WinCheckH(HANDLE RetVal) {
    if (!RetVal) RaiseLastOSError();
    return RetVal;
}

HANDLE WinCheckFileH(HANDLE RetVal) {
    if (RetVal == INVALID_HANDLE_VALUE) RaiseLastOSError();
    return RetVal;
}

void* WinCheckP(void* RetVal) {
    if (!RetVal) RaiseLastOSError();
    return RetVal;
}

// ---- Character classes --------------------------------------------------------------------------------

bool IsWideCharUpper(WideChar WC) {
    return (characterType(WC) & C1_UPPER) != 0;
}
bool IsWideCharLower(WideChar WC) {
    return (characterType(WC) & C1_LOWER) != 0;
}
bool IsWideCharDigit(WideChar WC) {
    return (characterType(WC) & C1_DIGIT) != 0;
}
bool IsWideCharSpace(WideChar WC) {
    return (characterType(WC) & C1_SPACE) != 0;
}
bool IsWideCharPunct(WideChar WC) {
    return (characterType(WC) & C1_PUNCT) != 0;
}
bool IsWideCharCntrl(WideChar WC) {
    return (characterType(WC) & C1_CNTRL) != 0;
}
bool IsWideCharBlank(WideChar WC) {
    return (characterType(WC) & C1_BLANK) != 0;
}
bool IsWideCharXDigit(WideChar WC) {
    return (characterType(WC) & C1_XDIGIT) != 0;
}
bool IsWideCharAlpha(WideChar WC) {
    return (characterType(WC) & C1_ALPHA) != 0;
}
bool IsWideCharAlphaNumeric(WideChar WC) {
    return (characterType(WC) & (C1_ALPHA | C1_DIGIT)) != 0;
}
