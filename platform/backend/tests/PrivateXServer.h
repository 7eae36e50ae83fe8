// A private X server for the tests and benchmarks that need a real display
// (Xvfb, which picks a free display number itself through -displayfd), and
// the child processes they run on it: programs with their output read line
// by line, and commands whose output is collected.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

inline bool ProgramOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::filesystem::path candidate = std::filesystem::path(folders.substr(start, end - start)) / name;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

using Environment = std::map<std::string, std::string>;

// A test stopped half-way must not leave its servers and programs behind.
inline void endWithParent() {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
}

// A child process with its standard output on a pipe; ended (SIGTERM, then
// SIGKILL) when it goes out of scope.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& arguments, const Environment& environment,
                 const std::string& errorFile = "/dev/null") {
        int output[2];
        if (pipe2(output, O_CLOEXEC) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            endWithParent();
            dup2(output[1], STDOUT_FILENO);
            int errors = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (errors >= 0) dup2(errors, STDERR_FILENO);
            close(output[0]);
            for (const auto& [name, value] : environment)
                setenv(name.c_str(), value.c_str(), 1);
            std::vector<char*> argv;
            for (const std::string& each : arguments)
                argv.push_back(const_cast<char*>(each.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(output[1]);
        output_ = output[0];
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        Stop();
        if (output_ >= 0) close(output_);
    }

    bool Started() const { return pid_ > 0; }

    // The next line of output, or nothing when none came within the time or the output ended.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            std::size_t end = pending_.find('\n');
            if (end != std::string::npos) {
                std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                return line;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || output_ < 0) return std::nullopt;
            pollfd ready{output_, POLLIN, 0};
            if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[4096];
            ssize_t count = read(output_, buffer, sizeof buffer);
            if (count <= 0) return std::nullopt;
            pending_.append(buffer, static_cast<std::size_t>(count));
        }
    }

    // Reads lines until one starts with `prefix`; the rest of that line.
    std::optional<std::string> WaitForLine(const std::string& prefix, std::chrono::milliseconds timeout) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            std::optional<std::string> line = ReadLine(left);
            if (!line) return std::nullopt;
            if (line->rfind(prefix, 0) == 0) return line->substr(prefix.size());
        }
        return std::nullopt;
    }

    // Whether the process ended by itself within the time.
    bool WaitForExit(std::chrono::milliseconds timeout) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return true;
            }
            usleep(20000);
        }
        return pid_ <= 0;
    }

    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        for (int tries = 0; tries < 100 && waitpid(pid_, nullptr, WNOHANG) == 0; ++tries)
            usleep(20000);
        if (waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

class PrivateXServer {
public:
    static bool Installed() { return ProgramOnPath("Xvfb"); }

    explicit PrivateXServer(const std::string& screen = "1024x768x24") {
        int numbers[2];
        if (pipe(numbers) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            endWithParent();
            close(numbers[0]);
            int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            std::string fd = std::to_string(numbers[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(numbers[1]);
        display_ = readDisplayNumber(numbers[0]);
        close(numbers[0]);
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;
    ~PrivateXServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }

    // ":N", or empty when the server did not start.
    const std::string& Display() const { return display_; }

private:
    static std::string readDisplayNumber(int fd) {
        constexpr int startTimeout = 10000;
        std::string number;
        pollfd ready{fd, POLLIN, 0};
        while (poll(&ready, 1, startTimeout) > 0) {
            char each;
            if (read(fd, &each, 1) != 1 || each == '\n') break;
            number += each;
        }
        return number.empty() ? "" : ":" + number;
    }

    pid_t pid_ = -1;
    std::string display_;
};

// xdotool's arguments that put the pointer at (x, y) and wait until it is
// there. Its --sync waits for a motion, which never comes when the pointer is
// there already (and what follows is then never done), so the pointer first
// goes a pixel aside.
inline std::vector<std::string> PointerMoveTo(int x, int y) {
    const int aside = x > 0 ? x - 1 : x + 1;
    return {"mousemove", std::to_string(aside), std::to_string(y), "mousemove",
            "--sync",    std::to_string(x),     std::to_string(y)};
}

// Runs a command on the display with `input` on its standard input; its
// standard output (unless a program that stays in the background, such as
// xclip serving the clipboard, must not hold our pipe), or nothing when it failed.
inline std::optional<std::string> RunOnDisplay(const std::string& display,
                                               const std::vector<std::string>& arguments,
                                               const std::string& input = {}, bool collectOutput = true) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
    pid_t pid = fork();
    if (pid == 0) {
        int quiet = open("/dev/null", O_WRONLY);
        dup2(in[0], STDIN_FILENO);
        dup2(collectOutput ? out[1] : quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        setenv("DISPLAY", display.c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& each : arguments)
            argv.push_back(const_cast<char*>(each.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    for (std::size_t sent = 0; sent < input.size();) {
        ssize_t count = write(in[1], input.data() + sent, input.size() - sent);
        if (count <= 0) break;
        sent += static_cast<std::size_t>(count);
    }
    close(in[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t count; (count = read(out[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(count));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return output;
}

// The id of a shown top-level window named after `pattern`, at least
// `minimumHeight` tall, once it has taken the input focus; nothing when none
// did within `limit`. A window opening may first fly its caption out as a
// window of the same name, only a caption tall, that is gone a moment later.
inline std::optional<std::string> FocusShownWindow(const std::string& display, const std::string& pattern,
                                                   int minimumHeight, std::chrono::seconds limit) {
    using namespace std::chrono;
    constexpr auto retryInterval = milliseconds(50);
    const auto deadline = steady_clock::now() + limit;
    const auto xdotool = [&](std::vector<std::string> arguments) {
        const auto left = duration_cast<seconds>(deadline - steady_clock::now()).count() + 1;
        arguments.insert(arguments.begin(), {"timeout", std::to_string(left), "xdotool"});
        return RunOnDisplay(display, arguments);
    };
    const auto tallEnough = [&](const std::string& window) {
        const std::optional<std::string> shape = xdotool({"getwindowgeometry", "--shell", window});
        const std::size_t height = shape ? shape->find("HEIGHT=") : std::string::npos;
        return height != std::string::npos && std::atoi(shape->c_str() + height + 7) >= minimumHeight;
    };
    while (steady_clock::now() < deadline) {
        const std::optional<std::string> found =
            xdotool({"search", "--sync", "--onlyvisible", "--name", pattern});
        std::istringstream windows(found.value_or(""));
        for (std::string window; std::getline(windows, window);)
            if (tallEnough(window) && xdotool({"windowfocus", "--sync", window})) return window;
        std::this_thread::sleep_for(retryInterval);
    }
    return std::nullopt;
}
