// The settings file "Quorvane.ini" beside the program: what the main window
// reads once when it is made, and what it writes back when it closes. The
// handlers that change one setting write their key themselves.
#pragma once

#include "platform/core/Types.h"

class Exception;
class TIniFile;

// Section and key names shared by the readers and the writers.
namespace settings {
inline constexpr const char* FormSection = "Form";
inline constexpr const char* DatabaseSection = "Database";
inline constexpr const char* PathSection = "Path";
inline constexpr const char* ColorSection = "Color";
} // namespace settings

struct TQuorvaneSettings {
    // Window bounds, applied one by one in this order.
    Integer Top = 100;
    Integer Left = 100;
    Integer Height = 600;
    Integer Width = 700;
    AnsiString LangFile = "English.lng";
    AnsiString LastDBase = "demo.zelk";
    AnsiString Opera = "Opera";
    AnsiString FireFox = "FireFox";
    // Highlighter foregrounds and the editors' background.
    TColor Event = 0;
    TColor Identifier = 0;
    TColor Key = 0;
    TColor NonReserved = 0;
    TColor Number = 0;
    TColor String = 0;
    TColor Symbol = 0;
    TColor Back = 0;
    bool ShowExport = true;
    bool InfoPanel = true;
    bool Wrap = true;
    bool Highlight = true;
};

// The program file's name with ".ini" in place of its extension.
AnsiString SettingsFileName();

// Every key in the order the main window applies them. Integers are decimal
// or "0x" hexadecimal, colours a colour constant name or a number; anything
// else gives the key's default. Nothing is written.
TQuorvaneSettings ReadSettings(const TIniFile& Ini);

// What the user is told when closing could not save the settings: that it
// failed, and why.
AnsiString SettingsNotSavedText(const Exception& Failure);

// What closing the main window writes: its bounds, the language file and the
// last database (already cut down to its remembered name).
void WriteClosingSettings(TIniFile& Ini, const TRect& Bounds, const AnsiString& LangFile,
                          const AnsiString& LastDBase);
