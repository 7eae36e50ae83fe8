// Everything is started in the background as CreateProcess starts programs.
#include "platform/win/Shell.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/win/LastError.h"
#include "platform/win/Processes.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

// What Windows returns on success; any value above 32 means success.
constexpr INT_PTR ShellExecuteSucceeded = 42;

// ---- Starting processes -------------------------------------------------------------

bool openWithDesktop(const std::string& target) {
    return StartDetachedProcess({"xdg-open", target}, std::string(), true) == 0;
}

struct ShellSettings {
    std::mutex mutex;
    ShellOpener opener;
    ProgramStarter starter;
};

ShellSettings& shellSettings() {
    static ShellSettings settings;
    return settings;
}

bool openTarget(const std::string& target) {
    ShellOpener opener;
    {
        ShellSettings& settings = shellSettings();
        std::lock_guard lock(settings.mutex);
        opener = settings.opener;
    }
    return opener ? opener(target) : openWithDesktop(target);
}

// ---- What the file is ---------------------------------------------------------------

namespace fs = std::filesystem;

// "scheme:" with a scheme of two characters or more, so that a drive letter is not one.
bool isWebAddress(const std::string& file) {
    const std::size_t colon = file.find(':');
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(file[0])))
        return false;
    return std::all_of(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
}

// An executable file that the system can run: a binary or a script.
bool isProgram(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error) || ::access(path.c_str(), X_OK) != 0) return false;
    char start[4] = {};
    std::ifstream(path, std::ios::binary).read(start, sizeof start);
    const bool binary = start[0] == '\x7f' && start[1] == 'E' && start[2] == 'L' && start[3] == 'F';
    const bool script = start[0] == '#' && start[1] == '!';
    return binary || script;
}

std::optional<fs::path> findOnSearchPath(const std::string& name) {
    const char* searchPath = std::getenv("PATH");
    if (!searchPath) return std::nullopt;
    std::string folders = searchPath;
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const fs::path candidate = fs::path(folders.substr(start, end - start)) / name;
        if (end > start && isProgram(candidate)) return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

struct FileRequest {
    std::string file;
    std::string parameters;
    std::string directory;
};

// The full path of the file, or the Windows error saying why there is none.
std::optional<fs::path> locateFile(const FileRequest& request, DWORD& error) {
    std::error_code ignored;
    fs::path path(request.file);
    if (path.is_relative())
        path = (request.directory.empty() ? fs::current_path(ignored) : fs::path(request.directory)) / path;
    if (fs::exists(path, ignored)) return path.lexically_normal();
    if (request.file.find('/') == std::string::npos)
        if (std::optional<fs::path> program = findOnSearchPath(request.file)) return program;
    error = fs::is_directory(path.parent_path(), ignored) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    return std::nullopt;
}

INT_PTR resultOfStartError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
        return SE_ERR_ACCESSDENIED;
    case ENOEXEC:
        return ERROR_BAD_FORMAT;
    case ENOMEM:
    case EAGAIN:
        return SE_ERR_OOM;
    default:
        return SE_ERR_NOASSOC;
    }
}

ProgramStarter programStarter() {
    ShellSettings& settings = shellSettings();
    std::lock_guard lock(settings.mutex);
    return settings.starter;
}

// 0 or the errno value that refused the start.
int startOrHand(const fs::path& program, const FileRequest& request, const ShellProgramStart& asked) {
    if (const ProgramStarter starter = programStarter()) return starter(asked) ? 0 : EACCES;
    std::vector<std::string> arguments = SplitCommandLine(request.parameters);
    arguments.insert(arguments.begin(), program.string());
    return StartDetachedProcess(arguments, request.directory, false);
}

INT_PTR startProgram(const fs::path& program, const FileRequest& request, const ShellProgramStart& asked) {
    std::error_code ignored;
    if (!request.directory.empty() && !fs::is_directory(request.directory, ignored)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return ERROR_PATH_NOT_FOUND;
    }
    const int error = startOrHand(program, request, asked);
    if (error == 0) return ShellExecuteSucceeded;
    SetLastError(OSErrorFromErrno(error));
    return resultOfStartError(error);
}

INT_PTR handToOpener(const std::string& target) {
    if (openTarget(target)) return ShellExecuteSucceeded;
    SetLastError(ERROR_NO_ASSOCIATION);
    return SE_ERR_NOASSOC;
}

bool isOpenVerb(const WideString& operation) {
    WideString verb = operation;
    std::transform(verb.begin(), verb.end(), verb.begin(), WideCharLower);
    return verb.empty() || verb == u"open";
}

INT_PTR shellExecute(const ShellProgramStart& asked) {
    const WideString& file = asked.File;
    const WideString& directory = asked.Directory;
    if (!isOpenVerb(asked.Verb)) {
        SetLastError(ERROR_NO_ASSOCIATION);
        return SE_ERR_NOASSOC;
    }
    if (file.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return SE_ERR_FNF;
    }
    const std::string address = UTF8Encode(file);
    if (isWebAddress(address)) return handToOpener(address);
    const FileRequest request{NativeFileName(file), UTF8Encode(asked.Parameters),
                              directory.empty() ? std::string() : NativeFileName(directory)};
    DWORD error = ERROR_SUCCESS;
    std::optional<fs::path> path = locateFile(request, error);
    if (!path) {
        SetLastError(error);
        return error;
    }
    return isProgram(*path) ? startProgram(*path, request, asked) : handToOpener(path->string());
}

HINSTANCE asInstance(INT_PTR result) {
    return reinterpret_cast<HINSTANCE>(result);
}

WideString wideArgument(LPCSTR text) {
    return text ? AnsiToWide(text) : WideString();
}
WideString wideArgument(LPCWSTR text) {
    return text ? WideString(text) : WideString();
}

} // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT showCommand) {
    return asInstance(shellExecute({wideArgument(operation), wideArgument(file), wideArgument(parameters),
                                    wideArgument(directory), showCommand}));
}

HINSTANCE ShellExecuteW(HWND, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT showCommand) {
    return asInstance(shellExecute({wideArgument(operation), wideArgument(file), wideArgument(parameters),
                                    wideArgument(directory), showCommand}));
}

void SetShellOpener(ShellOpener opener) {
    ShellSettings& settings = shellSettings();
    std::lock_guard lock(settings.mutex);
    settings.opener = std::move(opener);
}

void SetProgramStarter(ProgramStarter starter) {
    ShellSettings& settings = shellSettings();
    std::lock_guard lock(settings.mutex);
    settings.starter = std::move(starter);
}
