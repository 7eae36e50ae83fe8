// Programs are started with posix_spawn; a process handle is a pidfd, so
// that it stays tied to the child and CloseHandle closes it as any handle.
#include "platform/win/Processes.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/win/LastError.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

void reapInBackground(pid_t child) {
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

bool isArgumentSpace(char c) {
    return c == ' ' || c == '\t';
}

// Appends the run of backslashes at `i` and, when they stand before a quote,
// the literal quote an odd run makes; moves `i` past what it took.
void takeBackslashes(const std::string& text, std::size_t& i, std::string& current) {
    std::size_t backslashes = 0;
    while (i < text.size() && text[i] == '\\')
        ++backslashes, ++i;
    const bool beforeQuote = i < text.size() && text[i] == '"';
    current.append(beforeQuote ? backslashes / 2 : backslashes, '\\');
    if (beforeQuote && backslashes % 2 == 1) {
        current += '"';
        ++i;
    }
}

bool isExecutableFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

std::optional<fs::path> findInFolders(const std::string& name, const std::vector<fs::path>& folders) {
    // A folder of the search path that can't be looked into is passed over, not an error.
    std::error_code ignored;
    for (const fs::path& folder : folders)
        if (!folder.empty() && fs::exists(folder / name, ignored)) return folder / name;
    return std::nullopt;
}

std::vector<fs::path> searchFolders() {
    std::error_code ignored;
    std::vector<fs::path> folders{NativeFileName(ProgramFolder()), fs::current_path(ignored)};
    const char* searchPath = std::getenv("PATH");
    std::string remaining = searchPath ? searchPath : "";
    for (std::size_t start = 0; start <= remaining.size();) {
        const std::size_t end = std::min(remaining.find(':', start), remaining.size());
        folders.emplace_back(remaining.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

// The program a command line names, found as CreateProcess finds it.
std::optional<fs::path> locateProgram(const std::string& name, bool search) {
    std::error_code ignored;
    if (name.empty()) return std::nullopt;
    if (!search || name.find('/') != std::string::npos) {
        fs::path path(name);
        if (fs::exists(path, ignored)) return path;
        return std::nullopt;
    }
    return findInFolders(name, searchFolders());
}

DWORD errorOfStart(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ERROR_FILE_NOT_FOUND;
    case ENOEXEC:
        return kernel32::ERROR_BAD_EXE_FORMAT;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    default:
        return OSErrorFromErrno(error);
    }
}

HANDLE handleOfDescriptor(int descriptor) {
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(descriptor));
}

// The process and thread handles of a child: two descriptors of its pidfd.
void fillProcessInformation(pid_t child, int process, kernel32::PROCESS_INFORMATION* information) {
    if (!information) {
        if (process >= 0) ::close(process);
        return;
    }
    information->hProcess = handleOfDescriptor(process);
    information->hThread = handleOfDescriptor(process >= 0 ? ::fcntl(process, F_DUPFD_CLOEXEC, 0) : -1);
    information->dwProcessId = static_cast<DWORD>(child);
    information->dwThreadId = static_cast<DWORD>(child);
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL createProcess(const WideString* applicationName, const WideString* commandLine,
                   const WideString* currentDirectory, kernel32::PROCESS_INFORMATION* information) {
    if (!applicationName && !commandLine) return fail(ERROR_INVALID_PARAMETER);
    std::vector<std::string> arguments =
        SplitCommandLine(UTF8Encode(commandLine ? *commandLine : u"\"" + *applicationName + u"\""));
    const std::string programName =
        applicationName ? NativeFileName(*applicationName)
                        : (arguments.empty() ? "" : NativeFileName(UTF8Decode(arguments.front())));
    if (arguments.empty()) arguments.push_back(programName);
    const std::optional<fs::path> program = locateProgram(programName, !applicationName);
    if (!program) return fail(ERROR_FILE_NOT_FOUND);
    if (!isExecutableFile(*program)) return fail(ERROR_ACCESS_DENIED);
    std::string folder;
    if (currentDirectory && !currentDirectory->empty()) {
        folder = NativeFileName(*currentDirectory);
        std::error_code ignored;
        if (!fs::is_directory(folder, ignored)) return fail(kernel32::ERROR_DIRECTORY);
    }
    std::vector<std::string> argv = arguments;
    std::error_code noWorkingFolder;
    argv.front() = fs::absolute(*program, noWorkingFolder).string();
    pid_t child = 0;
    int process = -1;
    if (const int error = StartDetachedProcess(argv, folder, false, &child, &process))
        return fail(errorOfStart(error));
    fillProcessInformation(child, process, information);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

std::optional<WideString> wideOf(LPCWSTR text) {
    if (!text) return std::nullopt;
    return WideString(text);
}

std::optional<WideString> wideOf(LPCSTR text) {
    if (!text) return std::nullopt;
    return AnsiToWide(text);
}

const WideString* pointerOf(const std::optional<WideString>& text) {
    return text ? &*text : nullptr;
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& CommandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < CommandLine.size();) {
        const char c = CommandLine[i];
        if (!quoted && isArgumentSpace(c)) {
            if (inArgument) arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            takeBackslashes(CommandLine, i, current);
        } else if (c == '"') {
            const bool doubled = quoted && i + 1 < CommandLine.size() && CommandLine[i + 1] == '"';
            if (doubled) current += '"';
            if (!doubled) quoted = !quoted;
            i += doubled ? 2 : 1;
        } else {
            current += c;
            ++i;
        }
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
}

int StartDetachedProcess(const std::vector<std::string>& Arguments, const std::string& Folder,
                         bool SearchPath, pid_t* Child, int* ProcessDescriptor) {
    std::vector<char*> argv;
    for (const std::string& argument : Arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!Folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, Folder.c_str());

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
    const int error = SearchPath ? posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), environ)
                                 : posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return error;
    if (Child) *Child = child;
    // Taken before the child can be reaped, so that it cannot name another process.
    if (ProcessDescriptor) *ProcessDescriptor = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    reapInBackground(child);
    return 0;
}

namespace kernel32 {

BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                    BOOL, DWORD, void*, LPCSTR currentDirectory, STARTUPINFOA*,
                    PROCESS_INFORMATION* processInformation) {
    return createProcess(pointerOf(wideOf(applicationName)), pointerOf(wideOf(commandLine)),
                         pointerOf(wideOf(currentDirectory)), processInformation);
}

BOOL CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                    BOOL, DWORD, void*, LPCWSTR currentDirectory, STARTUPINFOW*,
                    PROCESS_INFORMATION* processInformation) {
    return createProcess(pointerOf(wideOf(applicationName)), pointerOf(wideOf(commandLine)),
                         pointerOf(wideOf(currentDirectory)), processInformation);
}

} // namespace kernel32
