// Starting things the way the desktop shell does: a web address, a document
// or a folder goes to the desktop's opener; a program file is started with
// its parameters, without a shell in between.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

#include <functional>
#include <string>

constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_OOM = 8;
constexpr int SE_ERR_NOASSOC = 31;

// The operation is "open" or none (the default verb); any other fails with
// SE_ERR_NOASSOC. A relative file is looked for in `directory` (else the
// current folder), then, for a bare program name, along $PATH. A program (an
// executable file that is a binary or a script) runs in `directory` with the
// parameters split by the Windows rules; anything else goes to the opener.
// The result is above 32 on success; otherwise SE_ERR_OOM,
// ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_BAD_FORMAT,
// SE_ERR_ACCESSDENIED or SE_ERR_NOASSOC (no opener could take it). The window
// and the show command are not used, except by a program starter.
HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT showCommand);
HINSTANCE ShellExecuteW(HWND window, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT showCommand);

// Hands a web address or an absolute file name (UTF-8) to the desktop;
// false when nothing could take it.
using ShellOpener = std::function<bool(const std::string& target)>;
// Null restores the default, which runs "xdg-open <target>" in the background.
void SetShellOpener(ShellOpener opener);

// A program start ShellExecute was asked for, with its arguments as given.
struct ShellProgramStart {
    WideString Verb;
    WideString File;
    WideString Parameters;
    WideString Directory;
    INT ShowCommand = 0;
};
// Takes the place of starting a program once ShellExecute has found it (so
// its errors stay the same); false fails the start as a refused one does.
// Tests record starts this way. Null restores starting programs.
using ProgramStarter = std::function<bool(const ShellProgramStart& start)>;
void SetProgramStarter(ProgramStarter starter);
