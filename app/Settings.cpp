#include "app/Settings.h"

#include "platform/core/FileUtils.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Idents.h"

using namespace settings;

namespace {

constexpr const char* NotSavedText = "The settings could not be saved.";

// A colour that is neither a colour name nor a number reads as the key's
// default: one garbled value must not keep the program from starting.
TColor readColor(const TIniFile& Ini, const char* Key, const char* Default) {
    const AnsiString text = Ini.ReadString(ColorSection, Key, Default);
    Integer colour = 0;
    if (IdentToColor(text, colour) || TryStrToInt(text, colour)) return static_cast<TColor>(colour);
    return StringToColor(Default);
}

void readBounds(const TIniFile& Ini, TQuorvaneSettings& Settings) {
    Settings.Top = Ini.ReadInteger(FormSection, "Top", Settings.Top);
    Settings.Left = Ini.ReadInteger(FormSection, "Left", Settings.Left);
    Settings.Height = Ini.ReadInteger(FormSection, "Height", Settings.Height);
    Settings.Width = Ini.ReadInteger(FormSection, "Width", Settings.Width);
}

void readColors(const TIniFile& Ini, TQuorvaneSettings& Settings) {
    Settings.Event = readColor(Ini, "Event", "clRed");
    Settings.Identifier = readColor(Ini, "Identifier", "clBlue");
    Settings.Key = readColor(Ini, "Key", "clGreen");
    Settings.NonReserved = readColor(Ini, "NonReserved", "clBlack");
    Settings.Number = readColor(Ini, "Number", "clBlack");
    Settings.String = readColor(Ini, "String", "clBlack");
    Settings.Symbol = readColor(Ini, "Symbol", "clBlack");
    Settings.Back = readColor(Ini, "Back", "clWindow");
}

} // namespace

AnsiString SettingsFileName() {
    return ChangeFileExt(ProgramFileName(), ".ini");
}

TQuorvaneSettings ReadSettings(const TIniFile& Ini) {
    TQuorvaneSettings settings;
    readBounds(Ini, settings);
    settings.LangFile = Ini.ReadString(FormSection, "LangFile", settings.LangFile);
    settings.LastDBase = Ini.ReadString(DatabaseSection, "LastDBase", settings.LastDBase);
    settings.Opera = Ini.ReadString(PathSection, "Opera", settings.Opera);
    settings.FireFox = Ini.ReadString(PathSection, "FireFox", settings.FireFox);
    readColors(Ini, settings);
    settings.ShowExport = Ini.ReadBool(FormSection, "ShowExport", settings.ShowExport);
    settings.InfoPanel = Ini.ReadBool(FormSection, "InfoPanel", settings.InfoPanel);
    settings.Wrap = Ini.ReadBool(FormSection, "Wrap", settings.Wrap);
    settings.Highlight = Ini.ReadBool(FormSection, "Highlight", settings.Highlight);
    return settings;
}

AnsiString SettingsNotSavedText(const Exception& Failure) {
    AnsiString text = AnsiString(NotSavedText) + "\n" + Failure.Message;
    // The settings file's write error names only the file; the system's last
    // error tells why.
    const DWORD reason = GetLastOSError();
    if (dynamic_cast<const EIniFileException*>(&Failure) && reason != OSErrorCode::Success)
        text += "\n" + SysErrorMessage(reason);
    return text;
}

void WriteClosingSettings(TIniFile& Ini, const TRect& Bounds, const AnsiString& LangFile,
                          const AnsiString& LastDBase) {
    Ini.WriteInteger(FormSection, "Top", Bounds.Top);
    Ini.WriteInteger(FormSection, "Left", Bounds.Left);
    Ini.WriteInteger(FormSection, "Height", Bounds.Bottom - Bounds.Top);
    Ini.WriteInteger(FormSection, "Width", Bounds.Right - Bounds.Left);
    Ini.WriteString(FormSection, "LangFile", LangFile);
    Ini.WriteString(DatabaseSection, "LastDBase", LastDBase);
}
