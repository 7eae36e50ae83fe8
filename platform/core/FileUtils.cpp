// Files, folders and paths over the POSIX calls, with the Windows semantics
// the program relies on (no silent overwrites, folders are not files, masks
// match without regard to case).
#include "platform/core/FileUtils.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

bool failWith(DWORD code) {
    SetLastOSError(code);
    return false;
}

bool failWithErrno() {
    return failWith(OSErrorFromErrno(errno));
}

bool failWithErrnoFor(const std::string& nativeName) {
    return failWith(OSErrorForPath(errno, nativeName));
}

bool succeed() {
    SetLastOSError(OSErrorCode::Success);
    return true;
}

// 1-based index of the last separator, 0 when none.
std::size_t lastSeparator(const AnsiString& name) {
    const std::size_t found = name.find_last_of("/\\");
    return found == AnsiString::npos ? 0 : found + 1;
}

bool statOf(const AnsiString& name, struct stat& info) {
    return !name.empty() && ::stat(NativeFileName(name).c_str(), &info) == 0;
}

bool isHiddenName(const AnsiString& name) {
    return name.size() > 1 && name[0] == '.' && name != "..";
}

Integer attributesOf(const AnsiString& name, const struct stat& info) {
    Integer attributes = S_ISDIR(info.st_mode) ? faDirectory : faArchive;
    if ((info.st_mode & S_IWUSR) == 0) attributes |= faReadOnly;
    if (isHiddenName(name)) attributes |= faHidden;
    return attributes;
}

constexpr int DosEpochYear = 1980;

Integer dosDateTime(time_t time) {
    tm local{};
    localtime_r(&time, &local);
    if (local.tm_year + 1900 < DosEpochYear) return (1 << 21) | (1 << 16); // 1 January 1980
    const unsigned value =
        (static_cast<unsigned>(local.tm_year + 1900 - DosEpochYear) << 25) |
        (static_cast<unsigned>(local.tm_mon + 1) << 21) | (static_cast<unsigned>(local.tm_mday) << 16) |
        (static_cast<unsigned>(local.tm_hour) << 11) | (static_cast<unsigned>(local.tm_min) << 5) |
        (static_cast<unsigned>(local.tm_sec) / 2);
    return static_cast<Integer>(value);
}

// ---- Masks ----------------------------------------------------------------------

bool matchesGlob(const char* name, const char* mask) {
    const char* starMask = nullptr;
    const char* starName = nullptr;
    while (*name != 0) {
        if (*mask == '*') {
            starMask = ++mask;
            starName = name;
        } else if (*mask == '?' || *mask == *name) {
            ++mask;
            ++name;
        } else if (starMask != nullptr) {
            mask = starMask;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*mask == '*')
        ++mask;
    return *mask == 0;
}

// ---- Copying ------------------------------------------------------------------

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

bool copyContents(int from, int to) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(to, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += put;
        }
    }
}

// Moves `from` onto `to`; with `noReplace` an existing `to` makes it fail with EEXIST.
bool renameNative(const std::string& from, const std::string& to, bool noReplace) {
    if (!noReplace) return ::rename(from.c_str(), to.c_str()) == 0;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the no-replace rename: a hard link refuses to
    // overwrite, and folders fall back to a check before the rename.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// ---- The temporary folder -----------------------------------------------------

constexpr int TempFolderAttempts = 16;

// A folder that only this user can enter: a real folder (not a link), owned
// by the user; a folder of ours that others could enter is closed first.
bool isPrivateFolder(const std::string& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0 && ::chmod(folder.c_str(), S_IRWXU) != 0) return false;
    return true;
}

bool isUsableBase(const std::string& base) {
    struct stat info {};
    return !base.empty() && base[0] == '/' && ::stat(base.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(base.c_str(), W_OK | X_OK) == 0;
}

std::string privateFolderIn(const std::string& base) {
    const std::string stem =
        base + (base.back() == '/' ? "" : "/") + "quorvane-" + std::to_string(::geteuid());
    for (int attempt = 0; attempt < TempFolderAttempts; ++attempt) {
        const std::string folder = attempt == 0 ? stem : stem + "-" + std::to_string(attempt);
        if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) return {};
        if (isPrivateFolder(folder)) return folder;
    }
    std::string pattern = stem + "-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) return pattern;
    return {};
}

} // namespace

// ---- Names between the program and the file system -------------------------------

std::string NativeFileName(const AnsiString& FileName) {
    std::string native = AnsiToUtf8(FileName);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::string NativeFileName(const WideString& FileName) {
    std::string native = UTF8Encode(FileName);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

AnsiString FromNativeFileName(const std::string& NativeName) {
    return Utf8ToAnsi(NativeName);
}
WideString WideFromNativeFileName(const std::string& NativeName) {
    return UTF8Decode(NativeName);
}

// ---- Path text -------------------------------------------------------------------

bool IsPathDelimiter(const AnsiString& S, Integer Index) {
    return Index >= 1 && Index <= static_cast<Integer>(S.size()) && isSeparator(S[Index - 1]);
}

AnsiString ExtractFilePath(const AnsiString& FileName) {
    return FileName.substr(0, lastSeparator(FileName));
}

AnsiString ExtractFileDir(const AnsiString& FileName) {
    std::size_t end = lastSeparator(FileName);
    if (end > 1 && !isSeparator(FileName[end - 2])) --end;
    return FileName.substr(0, end);
}

AnsiString ExtractFileName(const AnsiString& FileName) {
    return FileName.substr(lastSeparator(FileName));
}

AnsiString ExtractFileExt(const AnsiString& FileName) {
    const std::size_t dot = FileName.find_last_of('.');
    if (dot == AnsiString::npos || dot < lastSeparator(FileName)) return {};
    return FileName.substr(dot);
}

AnsiString ChangeFileExt(const AnsiString& FileName, const AnsiString& Extension) {
    const std::size_t dot = FileName.find_last_of('.');
    if (dot == AnsiString::npos || dot < lastSeparator(FileName)) return FileName + Extension;
    return FileName.substr(0, dot) + Extension;
}

AnsiString IncludeTrailingPathDelimiter(const AnsiString& S) {
    return !S.empty() && isSeparator(S.back()) ? S : S + PathDelim;
}

AnsiString IncludeTrailingBackslash(const AnsiString& S) {
    return IncludeTrailingPathDelimiter(S);
}

AnsiString ExcludeTrailingPathDelimiter(const AnsiString& S) {
    return !S.empty() && isSeparator(S.back()) ? S.substr(0, S.size() - 1) : S;
}

AnsiString ExcludeTrailingBackslash(const AnsiString& S) {
    return ExcludeTrailingPathDelimiter(S);
}

AnsiString ExpandFileName(const AnsiString& FileName) {
    AnsiString path = FileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || path[0] != '/') path = IncludeTrailingPathDelimiter(GetCurrentDir()) + path;
    const bool trailing = path.size() > 1 && path.back() == '/';
    std::vector<AnsiString> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const AnsiString part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    AnsiString result;
    for (const AnsiString& part : parts)
        result += "/" + part;
    if (result.empty()) return "/";
    return trailing ? result + "/" : result;
}

// ---- Files and folders -----------------------------------------------------------

bool FileExists(const AnsiString& FileName) {
    struct stat info {};
    return statOf(FileName, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const AnsiString& Name) {
    struct stat info {};
    return statOf(Name, info) && S_ISDIR(info.st_mode);
}

Integer FileGetAttr(const AnsiString& FileName) {
    struct stat info {};
    if (!statOf(FileName, info)) {
        failWithErrno();
        return -1;
    }
    return attributesOf(ExtractFileName(ExcludeTrailingPathDelimiter(FileName)), info);
}

bool DeleteFile(const AnsiString& FileName) {
    if (FileName.empty()) return failWith(OSErrorCode::FileNotFound);
    const std::string native = NativeFileName(FileName);
    return ::unlink(native.c_str()) == 0 ? succeed() : failWithErrnoFor(native);
}

bool CopyFile(const AnsiString& ExistingFileName, const AnsiString& NewFileName, bool FailIfExists) {
    const std::string source = NativeFileName(ExistingFileName), target = NativeFileName(NewFileName);
    if (source.empty() || target.empty()) return failWith(OSErrorCode::FileNotFound);
    FileDescriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!from.valid()) return failWithErrnoFor(source);
    struct stat sourceInfo {
    }, targetInfo{};
    if (::fstat(from.get(), &sourceInfo) != 0) return failWithErrno();
    if (S_ISDIR(sourceInfo.st_mode)) return failWith(OSErrorCode::AccessDenied);
    if (::stat(target.c_str(), &targetInfo) == 0) {
        if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)
            return failWith(OSErrorCode::SharingViolation);
        if (FailIfExists) return failWith(OSErrorCode::FileExists);
        if (S_ISDIR(targetInfo.st_mode)) return failWith(OSErrorCode::AccessDenied);
    }
    // The copy is written beside the target and renamed over it at the end,
    // so a failure never leaves a half-written or emptied target.
    std::string temporary = target + ".~copy-XXXXXX";
    FileDescriptor to(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!to.valid()) return failWithErrno();
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    const bool copied = copyContents(from.get(), to.get()) &&
                        ::fchmod(to.get(), sourceInfo.st_mode & 07777) == 0 &&
                        ::futimens(to.get(), times) == 0 && renameNative(temporary, target, FailIfExists);
    if (copied) return succeed();
    const int reason = errno;
    ::unlink(temporary.c_str());
    return failWith(reason == EEXIST ? OSErrorCode::FileExists : OSErrorFromErrno(reason));
}

bool RenameFile(const AnsiString& OldName, const AnsiString& NewName) {
    const std::string from = NativeFileName(OldName), to = NativeFileName(NewName);
    if (from.empty() || to.empty()) return failWith(OSErrorCode::FileNotFound);
    if (renameNative(from, to, true)) return succeed();
    if (errno == EEXIST) return failWith(OSErrorCode::AlreadyExists);
    if (errno != EXDEV || DirectoryExists(OldName)) return failWithErrno();
    // Across file systems a file moves as a copy followed by a delete.
    return CopyFile(OldName, NewName, true) && DeleteFile(OldName);
}

bool CreateDir(const AnsiString& Dir) {
    if (Dir.empty()) return failWith(OSErrorCode::PathNotFound);
    return ::mkdir(NativeFileName(Dir).c_str(), 0777) == 0
               ? succeed()
               : failWith(errno == EEXIST ? OSErrorCode::AlreadyExists : OSErrorFromErrno(errno));
}

bool RemoveDir(const AnsiString& Dir) {
    if (Dir.empty()) return failWith(OSErrorCode::PathNotFound);
    return ::rmdir(NativeFileName(Dir).c_str()) == 0 ? succeed() : failWithErrno();
}

bool ForceDirectories(const AnsiString& Dir) {
    if (Dir.empty()) throw Exception(SCannotCreateDir);
    const AnsiString folder = ExcludeTrailingPathDelimiter(Dir);
    if (folder.empty() || DirectoryExists(folder)) return succeed();
    const AnsiString parent = ExtractFileDir(folder);
    if (!parent.empty() && parent != folder && !ForceDirectories(parent)) return false;
    return CreateDir(folder) || DirectoryExists(folder);
}

AnsiString GetCurrentDir() {
    std::string buffer(PATH_MAX, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return FromNativeFileName(buffer.c_str());
}

bool SetCurrentDir(const AnsiString& Dir) {
    if (Dir.empty()) return failWith(OSErrorCode::PathNotFound);
    return ::chdir(NativeFileName(Dir).c_str()) == 0 ? succeed() : failWithErrno();
}

// ---- Searching ------------------------------------------------------------------------

struct TSearchState {
    struct Entry {
        AnsiString name;
        Integer attributes;
        Int64 size;
        Integer time;
    };
    std::vector<Entry> entries;
    std::size_t next = 0;
};

namespace {

std::vector<TSearchState::Entry> matchingEntries(DIR* dir, const std::string& folder, const AnsiString& mask,
                                                 Integer excluded) {
    std::vector<TSearchState::Entry> entries;
    while (const dirent* entry = ::readdir(dir)) {
        const AnsiString name = FromNativeFileName(entry->d_name);
        if (!MatchesFileMask(name, mask)) continue;
        struct stat info {};
        const std::string path = folder + "/" + entry->d_name;
        if (::stat(path.c_str(), &info) != 0 && ::lstat(path.c_str(), &info) != 0) continue;
        const Integer attributes = attributesOf(name, info);
        if ((attributes & excluded) != 0) continue;
        entries.push_back({name, attributes, S_ISDIR(info.st_mode) ? 0 : static_cast<Int64>(info.st_size),
                           dosDateTime(info.st_mtime)});
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return CompareStr(AnsiUpperCase(a.name), AnsiUpperCase(b.name)) < 0;
    });
    return entries;
}

void fillSearchRec(TSearchRec& F) {
    const TSearchState::Entry& entry = F.FindHandle->entries[F.FindHandle->next++];
    F.Name = entry.name;
    F.Attr = entry.attributes;
    F.Size = entry.size;
    F.Time = entry.time;
}

} // namespace

bool MatchesFileMask(const AnsiString& Name, const AnsiString& Mask) {
    const AnsiString name = AnsiUpperCase(Name);
    AnsiString mask = AnsiUpperCase(Mask);
    if (mask == "*.*") return true;
    // "name." asks for names without an extension; "name.*" also takes them.
    if (mask.size() > 1 && mask.back() == '.')
        return name.find('.') == AnsiString::npos &&
               matchesGlob(name.c_str(), mask.substr(0, mask.size() - 1).c_str());
    if (mask.size() > 2 && mask.ends_with(".*") &&
        matchesGlob(name.c_str(), mask.substr(0, mask.size() - 2).c_str()))
        return true;
    return matchesGlob(name.c_str(), mask.c_str());
}

Integer FindFirst(const AnsiString& Path, Integer Attr, TSearchRec& F) {
    FindClose(F);
    const AnsiString folder = ExtractFilePath(Path);
    const std::string nativeFolder =
        folder.empty() ? "." : NativeFileName(ExcludeTrailingPathDelimiter(folder) + "/");
    DIR* dir = ::opendir(nativeFolder.c_str());
    if (dir == nullptr) {
        const DWORD code =
            errno == ENOENT || errno == ENOTDIR ? OSErrorCode::PathNotFound : OSErrorFromErrno(errno);
        SetLastOSError(code);
        return static_cast<Integer>(code);
    }
    F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    auto state = std::make_shared<TSearchState>();
    state->entries = matchingEntries(dir, nativeFolder, ExtractFileName(Path), F.ExcludeAttr);
    ::closedir(dir);
    if (state->entries.empty()) {
        SetLastOSError(OSErrorCode::FileNotFound);
        return static_cast<Integer>(OSErrorCode::FileNotFound);
    }
    F.FindHandle = std::move(state);
    fillSearchRec(F);
    SetLastOSError(OSErrorCode::Success);
    return 0;
}

Integer FindNext(TSearchRec& F) {
    if (!F.FindHandle || F.FindHandle->next >= F.FindHandle->entries.size()) {
        SetLastOSError(OSErrorCode::NoMoreFiles);
        return static_cast<Integer>(OSErrorCode::NoMoreFiles);
    }
    fillSearchRec(F);
    return 0;
}

void FindClose(TSearchRec& F) {
    F.FindHandle.reset();
}

// ---- Handles ---------------------------------------------------------------------------

THandle FileOpen(const AnsiString& FileName, Cardinal Mode) {
    static constexpr int accessFlags[] = {O_RDONLY, O_WRONLY, O_RDWR};
    const Cardinal access = Mode & 0x3;
    if (access > 2) {
        SetLastOSError(OSErrorCode::InvalidParameter);
        return InvalidHandle;
    }
    const std::string native = NativeFileName(FileName);
    const int fd = ::open(native.c_str(), accessFlags[access] | O_CLOEXEC);
    if (fd < 0) {
        failWithErrnoFor(native);
        return InvalidHandle;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        failWith(OSErrorCode::AccessDenied);
        return InvalidHandle;
    }
    SetLastOSError(OSErrorCode::Success);
    return fd;
}

THandle FileCreate(const AnsiString& FileName) {
    const std::string native = NativeFileName(FileName);
    const int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        failWithErrnoFor(native);
        return InvalidHandle;
    }
    SetLastOSError(OSErrorCode::Success);
    return fd;
}

Integer FileRead(THandle Handle, void* Buffer, Cardinal Count) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(Handle), Buffer, Count);
        if (got >= 0) return static_cast<Integer>(got);
        if (errno != EINTR) {
            failWithErrno();
            return -1;
        }
    }
}

Integer FileWrite(THandle Handle, const void* Buffer, Cardinal Count) {
    const char* bytes = static_cast<const char*>(Buffer);
    Cardinal done = 0;
    while (done < Count) {
        const ssize_t put = ::write(static_cast<int>(Handle), bytes + done, Count - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            failWithErrno();
            return done > 0 ? static_cast<Integer>(done) : -1;
        }
        done += static_cast<Cardinal>(put);
    }
    return static_cast<Integer>(done);
}

Int64 FileSeek(THandle Handle, Int64 Offset, Integer Origin) {
    static constexpr int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (Origin < 0 || Origin > 2) {
        failWith(OSErrorCode::InvalidParameter);
        return -1;
    }
    const off_t position = ::lseek(static_cast<int>(Handle), Offset, whence[Origin]);
    if (position < 0) {
        failWith(errno == EINVAL ? OSErrorCode::NegativeSeek : OSErrorFromErrno(errno));
        return -1;
    }
    return position;
}

void FileClose(THandle Handle) {
    if (Handle >= 0) ::close(static_cast<int>(Handle));
}

// ---- Special folders ----------------------------------------------------------------

AnsiString ProgramFileName() {
    std::string buffer(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) return {};
    buffer.resize(static_cast<std::size_t>(length));
    return FromNativeFileName(buffer);
}

AnsiString ProgramFolder() {
    return ExtractFileDir(ProgramFileName());
}

AnsiString GetTempFolder() {
    std::vector<std::string> bases;
    if (const char* tmpdir = std::getenv("TMPDIR"); tmpdir != nullptr && isUsableBase(tmpdir))
        bases.push_back(tmpdir);
    bases.push_back("/tmp");
    for (const std::string& base : bases) {
        const std::string folder = privateFolderIn(base);
        if (!folder.empty()) return FromNativeFileName(folder) + PathDelim;
    }
    return {};
}

DWORD OSErrorForPath(int ErrorNumber, const std::string& NativeName) {
    if (ErrorNumber == ENOENT) {
        const std::size_t slash = NativeName.find_last_of('/');
        struct stat info {};
        if (slash != std::string::npos && slash > 0 &&
            (::stat(NativeName.substr(0, slash).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)))
            return OSErrorCode::PathNotFound;
    }
    return OSErrorFromErrno(ErrorNumber);
}
