// Starting programs as the kernel does: CreateProcess takes a command line,
// finds the program and starts it directly, without a shell, its arguments
// split from the command line by the Windows C run-time rules. The helpers
// below are shared with ShellExecute, which starts programs the same way.
#pragma once

#include "platform/win/KernelCalls.h"

#include <string>
#include <sys/types.h>
#include <vector>

// Splits a command line as the Windows C run-time does: white space
// separates arguments outside double quotes; 2n backslashes before a quote
// give n backslashes and the quote opens or closes a quoted part; 2n + 1 give
// n backslashes and a literal quote; "" inside a quoted part is a literal
// quote; other backslashes are literal.
std::vector<std::string> SplitCommandLine(const std::string& CommandLine);

// Starts `Arguments` (the program first) in the background, in a session of
// its own with stdin from /dev/null, in `Folder` when it is not empty; a
// thread waits for the child so that none is left behind as a zombie.
// 0, the child's id in *Child and a pidfd of it in *ProcessDescriptor (each
// when given), or the errno that refused it.
int StartDetachedProcess(const std::vector<std::string>& Arguments, const std::string& Folder,
                         bool SearchPath, pid_t* Child = nullptr, int* ProcessDescriptor = nullptr);

namespace kernel32 {

constexpr DWORD ERROR_DIRECTORY = 267;
constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;

constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;

template <typename Char> struct STARTUPINFO_T {
    DWORD cb = sizeof(STARTUPINFO_T);
    Char* lpReserved = nullptr;
    Char* lpDesktop = nullptr;
    Char* lpTitle = nullptr;
    DWORD dwX = 0;
    DWORD dwY = 0;
    DWORD dwXSize = 0;
    DWORD dwYSize = 0;
    DWORD dwXCountChars = 0;
    DWORD dwYCountChars = 0;
    DWORD dwFillAttribute = 0;
    DWORD dwFlags = 0;
    WORD wShowWindow = 0;
    WORD cbReserved2 = 0;
    BYTE* lpReserved2 = nullptr;
    HANDLE hStdInput = nullptr;
    HANDLE hStdOutput = nullptr;
    HANDLE hStdError = nullptr;
};
using STARTUPINFOA = STARTUPINFO_T<CHAR>;
using STARTUPINFOW = STARTUPINFO_T<WCHAR>;

struct PROCESS_INFORMATION {
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};

// The program is `applicationName` when given (a full name or one relative to
// the current folder), else the first argument of `commandLine`, looked for
// as given when it holds a path delimiter, else in the program's own folder,
// the current folder and along $PATH. The arguments are `commandLine` split
// (the program name first, as given), or the application name alone. The
// child runs in `currentDirectory` (else the current folder); the security,
// inheritance, environment and creation arguments and the start-up record
// change nothing here. The process and thread handles both refer to the
// child and are closed with CloseHandle; the thread id is the process id.
// FALSE with ERROR_FILE_NOT_FOUND (no such program), ERROR_DIRECTORY (no
// such folder), ERROR_ACCESS_DENIED (not executable), ERROR_BAD_EXE_FORMAT
// or ERROR_INVALID_PARAMETER (neither name given).
BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    void* environment, LPCSTR currentDirectory, STARTUPINFOA* startupInfo,
                    PROCESS_INFORMATION* processInformation);
BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    void* environment, LPCWSTR currentDirectory, STARTUPINFOW* startupInfo,
                    PROCESS_INFORMATION* processInformation);

} // namespace kernel32
