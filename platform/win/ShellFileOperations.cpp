// Each call is turned into a list of steps (a source and its target), all
// checked before the first is taken.
#include "platform/win/ShellFileOperations.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/win/LastError.h"

#include <filesystem>
#include <fnmatch.h>
#include <optional>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int ERROR_ALREADY_EXISTS = OSErrorCode::AlreadyExists;

struct Step {
    fs::path source;
    fs::path target;
};

template <typename Char> std::vector<fs::path> namesOf(const Char* list) {
    std::vector<fs::path> names;
    while (list && *list) {
        names.emplace_back(NativeFileName(TextOf(list)));
        list += std::char_traits<Char>::length(list) + 1;
    }
    return names;
}

// Whether anything, a dangling link too, has that name.
bool present(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

bool hasWildcard(const fs::path& path) {
    return path.filename().string().find_first_of("*?") != std::string::npos;
}

// The entries of a wildcard source's folder that its pattern matches, as
// the shell matches them: "*.*" is every name.
std::vector<fs::path> expandWildcard(const fs::path& pattern, bool filesOnly) {
    std::string mask = pattern.filename().string();
    if (mask == "*.*") mask = "*";
    std::vector<fs::path> matches;
    // Stepped with an error code: a folder that fails half-way ends the list, it never throws.
    std::error_code error;
    for (fs::directory_iterator entry(pattern.parent_path(), error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code notADirectory;
        if (filesOnly && entry->is_directory(notADirectory)) continue;
        if (::fnmatch(mask.c_str(), entry->path().filename().c_str(), FNM_CASEFOLD) == 0)
            matches.push_back(entry->path());
    }
    return matches;
}

// The sources named, wildcards expanded; ERROR_FILE_NOT_FOUND for one that is missing.
int expandSources(const std::vector<fs::path>& names, FILEOP_FLAGS flags, std::vector<fs::path>& sources) {
    for (const fs::path& name : names) {
        std::error_code error;
        if (hasWildcard(name)) {
            const std::vector<fs::path> matches = expandWildcard(name, flags & FOF_FILESONLY);
            if (matches.empty()) return static_cast<int>(ERROR_FILE_NOT_FOUND);
            sources.insert(sources.end(), matches.begin(), matches.end());
        } else if (present(name)) {
            sources.push_back(fs::absolute(name, error).lexically_normal());
        } else {
            return static_cast<int>(ERROR_FILE_NOT_FOUND);
        }
    }
    return sources.empty() ? static_cast<int>(ERROR_FILE_NOT_FOUND) : 0;
}

// Where each source of a copy or move goes.
std::vector<Step> transferSteps(const std::vector<fs::path>& sources, const std::vector<fs::path>& targets,
                                FILEOP_FLAGS flags) {
    std::vector<Step> steps;
    std::error_code error;
    const bool intoFolder =
        !(flags & FOF_MULTIDESTFILES) && (sources.size() > 1 || fs::is_directory(targets.front(), error));
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const fs::path& target = (flags & FOF_MULTIDESTFILES) ? targets[i] : targets.front();
        steps.push_back(
            {sources[i],
             fs::absolute(intoFolder ? target / sources[i].filename() : target, error).lexically_normal()});
    }
    return steps;
}

std::vector<Step> renameSteps(const std::vector<fs::path>& sources, const std::vector<fs::path>& targets) {
    const fs::path& target = targets.front();
    const fs::path name = target.has_parent_path() ? target : sources.front().parent_path() / target;
    std::error_code error;
    return {{sources.front(), fs::absolute(name, error).lexically_normal()}};
}

bool isWithin(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

int checkStep(const Step& step, FILEOP_FLAGS flags) {
    std::error_code error;
    if (step.source == step.target || fs::equivalent(step.source, step.target, error)) return DE_SAMEFILE;
    if (fs::is_directory(step.source, error) && isWithin(step.target, step.source)) return DE_DESTSUBTREE;
    if (present(step.target) && !(flags & FOF_NOCONFIRMATION)) return ERROR_ALREADY_EXISTS;
    return 0;
}

int errorOf(const std::error_code& error, const fs::path& path) {
    return static_cast<int>(OSErrorForPath(error.value(), path.string()));
}

void removeQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

// Replaces the target with a copy of the source; a failed copy leaves no part of it behind.
int copyStep(const Step& step) {
    std::error_code error;
    fs::create_directories(step.target.parent_path(), error);
    if (present(step.target)) fs::remove_all(step.target, error);
    if (error) return errorOf(error, step.target);
    fs::copy(step.source, step.target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (!error) return 0;
    removeQuietly(step.target);
    return errorOf(error, step.target);
}

// A rename where it can be one; across file systems a copy that is removed
// again when the source cannot go.
int moveStep(const Step& step) {
    std::error_code error;
    fs::create_directories(step.target.parent_path(), error);
    if (present(step.target)) fs::remove_all(step.target, error);
    fs::rename(step.source, step.target, error);
    if (error.value() != EXDEV) return error ? errorOf(error, step.source) : 0;
    if (const int copyError = copyStep(step)) return copyError;
    fs::remove_all(step.source, error);
    if (!error) return 0;
    removeQuietly(step.target);
    return errorOf(error, step.source);
}

int deleteSource(const fs::path& source) {
    std::error_code error;
    fs::remove_all(source, error);
    return error ? errorOf(error, source) : 0;
}

int runSteps(const std::vector<Step>& steps, FILEOP_FLAGS flags, int (*take)(const Step&)) {
    for (const Step& step : steps)
        if (const int error = checkStep(step, flags)) return error;
    for (const Step& step : steps)
        if (const int error = take(step)) return error;
    return 0;
}

template <typename Char> int fileOperation(SHFILEOPSTRUCT_T<Char>* operation) {
    if (!operation) return static_cast<int>(ERROR_INVALID_PARAMETER);
    operation->fAnyOperationsAborted = FALSE;
    operation->hNameMappings = nullptr;
    const FILEOP_FLAGS flags = operation->fFlags;
    std::vector<fs::path> sources;
    if (const int error = expandSources(namesOf(operation->pFrom), flags, sources)) return error;
    if (operation->wFunc == FO_DELETE) {
        for (const fs::path& source : sources)
            if (const int error = deleteSource(source)) return error;
        return 0;
    }
    const std::vector<fs::path> targets = namesOf(operation->pTo);
    const bool eachHasTarget = !(flags & FOF_MULTIDESTFILES) || targets.size() == sources.size();
    if (targets.empty() || !eachHasTarget) return static_cast<int>(ERROR_INVALID_PARAMETER);
    switch (operation->wFunc) {
    case FO_COPY:
        return runSteps(transferSteps(sources, targets, flags), flags, copyStep);
    case FO_MOVE:
        return runSteps(transferSteps(sources, targets, flags), flags, moveStep);
    case FO_RENAME:
        return runSteps(renameSteps(sources, targets), flags, moveStep);
    default:
        return static_cast<int>(ERROR_INVALID_PARAMETER);
    }
}

} // namespace

int SHFileOperationA(SHFILEOPSTRUCTA* operation) {
    return fileOperation(operation);
}

int SHFileOperationW(SHFILEOPSTRUCTW* operation) {
    return fileOperation(operation);
}

void SHFreeNameMappings(HANDLE) {}
