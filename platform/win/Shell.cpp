// Everything is started in the background, in a session of its own, with
// stdin from /dev/null; a thread waits for each child so that none is left
// behind as a zombie.
#include "platform/win/Shell.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/win/LastError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// What Windows returns on success; any value above 32 means success.
constexpr INT_PTR ShellExecuteSucceeded = 42;

// ---- Starting processes -------------------------------------------------------------

void reapInBackground(pid_t child) {
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

// Starts `arguments` (the program first) in the background; 0 or an errno.
int startDetached(const std::vector<std::string>& arguments, const std::string& folder, bool searchPath) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t child = 0;
    const int error = searchPath ? posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), environ)
                                 : posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error == 0) reapInBackground(child);
    return error;
}

bool openWithDesktop(const std::string& target) {
    return startDetached({"xdg-open", target}, std::string(), true) == 0;
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

// ---- Parameters -------------------------------------------------------------------------

bool isArgumentSpace(char c) {
    return c == ' ' || c == '\t';
}

// Splits a parameter string as the Windows C run-time does: white space
// separates arguments outside double quotes; 2n backslashes before a quote
// give n backslashes and the quote opens or closes a quoted part; 2n + 1 give
// n backslashes and a literal quote; "" inside a quoted part is a literal
// quote; other backslashes are literal.
std::vector<std::string> splitParameters(const std::string& parameters) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < parameters.size();) {
        const char c = parameters[i];
        if (!quoted && isArgumentSpace(c)) {
            if (inArgument) arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            std::size_t backslashes = 0;
            while (i < parameters.size() && parameters[i] == '\\')
                ++backslashes, ++i;
            const bool beforeQuote = i < parameters.size() && parameters[i] == '"';
            current.append(beforeQuote ? backslashes / 2 : backslashes, '\\');
            if (beforeQuote && backslashes % 2 == 1) {
                current += '"';
                ++i;
            }
        } else if (c == '"') {
            const bool doubled = quoted && i + 1 < parameters.size() && parameters[i + 1] == '"';
            if (doubled) {
                current += '"';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        } else {
            current += c;
            ++i;
        }
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
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
    std::vector<std::string> arguments = splitParameters(request.parameters);
    arguments.insert(arguments.begin(), program.string());
    return startDetached(arguments, request.directory, false);
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
