#include "settings/FileRegistryBackend.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another instance holds the lock only while it writes a few kilobytes.
constexpr auto LockTimeout = std::chrono::seconds(5);
constexpr auto LockRetryInterval = std::chrono::milliseconds(2);

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : FFd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int Get() const { return FFd; }
    explicit operator bool() const { return FFd >= 0; }
    bool Close()
    {
        const bool closed = FFd < 0 || close(FFd) == 0;
        FFd = -1;
        return closed;
    }

private:
    int FFd;
};

// Holds an exclusive lock on the lock file while it lives.
class StoreLock {
public:
    explicit StoreLock(const std::string &path)
        : FFile(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600))
    {
        const auto deadline = std::chrono::steady_clock::now() + LockTimeout;
        while (FFile && flock(FFile.Get(), LOCK_EX | LOCK_NB) != 0) {
            const bool retry =
                (errno == EWOULDBLOCK || errno == EINTR) && std::chrono::steady_clock::now() < deadline;
            if (retry) {
                std::this_thread::sleep_for(LockRetryInterval);
            } else {
                FFile.Close();
            }
        }
    }
    bool Held() const { return static_cast<bool>(FFile); }

private:
    FileDescriptor FFile;
};

// At most limit bytes of the file; Truncated says whether more was there.
bool ReadAll(int fd, std::string &text, bool &truncated)
{
    char buffer[65536];
    truncated = false;
    while (true) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count == 0) {
            return true;
        }
        if (count < 0 && errno != EINTR) {
            return false;
        }
        const auto room = MaxStoreSize - text.size();
        const auto taken = std::min(room, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
        text.append(buffer, taken);
        if (taken < static_cast<std::size_t>(std::max<ssize_t>(count, 0))) {
            truncated = true;
            return true;
        }
    }
}

enum class TFileRead { Read, Missing, Unreadable, NotAStore };

struct TFileContents {
    TFileRead Result = TFileRead::Missing;
    std::string Text;
    bool Truncated = false; // only the first MaxStoreSize bytes were read
    int Error = 0;          // errno of a file that could not be read
};

// Non-blocking, so that a pipe put in the store's place cannot stall the program. A file that is
// no regular file is no store; one that cannot be opened or read is left alone.
TFileContents ReadBounded(const std::string &path)
{
    TFileContents contents;
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file) {
        contents.Error = errno;
        contents.Result = (errno == ENOENT || errno == ENOTDIR) ? TFileRead::Missing : TFileRead::Unreadable;
        return contents;
    }
    struct stat info {};
    if (fstat(file.Get(), &info) != 0) {
        contents.Error = errno;
        contents.Result = TFileRead::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        contents.Result = TFileRead::NotAStore;
    } else if (!ReadAll(file.Get(), contents.Text, contents.Truncated)) {
        contents.Error = errno;
        contents.Result = TFileRead::Unreadable;
    } else {
        contents.Result = TFileRead::Read;
    }
    return contents;
}

std::string Describe(int error)
{
    return std::strerror(error);
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t count = write(fd, data.data(), data.size());
        if (count < 0 && errno != EINTR) {
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    }
    return true;
}

// The mode a replacement takes: that of the file it replaces, otherwise the given one.
mode_t ModeOf(const std::string &path, mode_t otherwise)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? (info.st_mode & 07777) : otherwise;
}

// Fills the new file open at fd (closing it) and flushes it to disk.
bool FillSynced(FileDescriptor &file, std::string_view text, mode_t mode)
{
    const bool written =
        file && fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), text) && fsync(file.Get()) == 0;
    const int error = errno;
    const bool closed = file.Close();
    errno = written ? errno : error;
    return closed && written;
}

// A new file at path; whatever a crash left there is removed first (never written through).
bool WriteSynced(const std::string &path, std::string_view text, mode_t mode)
{
    unlink(path.c_str());
    FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
    return FillSynced(file, text, mode);
}

// So that the rename itself survives a power loss.
void SyncFolder(const std::string &folder)
{
    const FileDescriptor directory(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory) {
        fsync(directory.Get());
    }
}

std::string FolderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// Creates the folder and its missing parents, private to the user as configuration folders are.
bool MakeFolders(const std::string &folder)
{
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        return false;
    }
    errno = S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    return S_ISDIR(info.st_mode);
}

// Write permission as the user set it: the mode bits count even where the system would let an
// administrator write anyway.
bool MayWrite(const std::string &path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return false;
    }
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        errno = EACCES;
        return false;
    }
    return access(path.c_str(), W_OK) == 0;
}

// The file a write must replace: symbolic links (as dotfile managers make them) are followed to
// the file they name, which need not exist yet.
std::string LinkTarget(std::string path)
{
    constexpr int MaxLinks = 40;
    for (int depth = 0; depth < MaxLinks; ++depth) {
        std::string target(4096, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            break;
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    return path;
}

std::string Timestamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&now, &local)) {
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    }
    return text;
}

// A copy of the regular file at from in a new file at to; false (errno EEXIST) where to exists.
bool CopyNew(const std::string &from, const std::string &to)
{
    const FileDescriptor source(open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    FileDescriptor copy(open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
    if (!source || !copy) {
        return false;
    }
    char buffer[65536];
    ssize_t count = 0;
    bool copied = true;
    while (copied && (count = read(source.Get(), buffer, sizeof buffer)) != 0) {
        copied =
            (count < 0 && errno == EINTR) ||
            (count > 0 && WriteAll(copy.Get(), std::string_view(buffer, static_cast<std::size_t>(count))));
    }
    copied = copied && fsync(copy.Get()) == 0;
    if (!copy.Close() || !copied) {
        unlink(to.c_str());
        return false;
    }
    return true;
}

// Gives the damaged file at path a name of its own beside it, never an earlier copy's, while path
// itself stays: a hard link, or a copy where the file system has none. Anything but a regular
// file (a folder, say) holds no settings and is moved.
std::string KeepAside(const std::string &path)
{
    constexpr int MaxCopiesASecond = 1000;
    const std::string base = path + ".damaged-" + Timestamp();
    struct stat info {};
    const bool regular = lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    for (int n = 1; n <= MaxCopiesASecond; ++n) {
        const std::string name = n == 1 ? base : base + "-" + std::to_string(n);
        if (link(path.c_str(), name.c_str()) == 0) {
            return name;
        }
        if (errno != EEXIST) {
            const bool kept =
                regular ? CopyNew(path, name)
                        : access(name.c_str(), F_OK) != 0 && rename(path.c_str(), name.c_str()) == 0;
            if (kept) {
                return name;
            }
            if (errno != EEXIST) {
                return {};
            }
        }
    }
    return {};
}

std::string HomeFolder()
{
    const char *home = std::getenv("HOME");
    if (home && *home) {
        return home;
    }
    const passwd *user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

} // namespace

std::string DefaultSettingsPath()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    const std::string base = (config && config[0] == '/') ? std::string(config) : HomeFolder() + "/.config";
    return base + "/KX/Orvani.reg";
}

void ReportToStandardError(const std::string &line)
{
    std::fputs((line + "\n").c_str(), stderr);
}

std::string ReadSettingsFile(const std::string &path, std::string &text)
{
    TFileContents contents = ReadBounded(path);
    text = std::move(contents.Text);
    switch (contents.Result) {
    case TFileRead::Missing:
    case TFileRead::Read:
        return contents.Truncated ? "orvani: the settings file " + path + " is larger than " +
                                        std::to_string(MaxStoreSize >> 20) + " MB"
                                  : std::string();
    case TFileRead::NotAStore:
        return "orvani: " + path + " is not a settings file (not a plain file)";
    default:
        return "orvani: cannot read " + path + ": " + Describe(contents.Error);
    }
}

std::string ReadInputFile(const std::string &path, std::string &text)
{
    const bool standardInput = path == "-";
    const std::string name = standardInput ? "standard input" : path;
    // Blocking: a pipe or a terminal is read until its end.
    const FileDescriptor file(standardInput ? dup(STDIN_FILENO)
                                            : open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    bool truncated = false;
    text.clear();
    if (!file || fstat(file.Get(), &info) != 0 || !ReadAll(file.Get(), text, truncated)) {
        return "orvani: cannot read " + name + ": " + Describe(errno);
    }
    if (truncated) {
        return "orvani: " + name + " is larger than " + std::to_string(MaxStoreSize >> 20) +
               " MB and holds no settings of Orvani";
    }
    return {};
}

std::string WriteOutputFile(const std::string &path, const std::string &text)
{
    if (path == "-") {
        return WriteAll(STDOUT_FILENO, text) ? std::string()
                                             : "orvani: cannot write to standard output: " + Describe(errno);
    }
    const std::string problem = "orvani: cannot write " + path + ": ";
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        // A FIFO, a device or a terminal is written into; only a plain file is ever replaced.
        if (S_ISDIR(info.st_mode)) {
            return problem + Describe(EISDIR);
        }
        FileDescriptor file(open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
        const bool written = file && WriteAll(file.Get(), text);
        const int error = errno;
        const bool closed = file.Close();
        return written && closed ? std::string() : problem + Describe(written ? errno : error);
    }
    const std::string target = LinkTarget(path);
    std::string temporary = target + ".XXXXXX";
    FileDescriptor file(mkostemp(temporary.data(), O_CLOEXEC));
    const mode_t mask = umask(0);
    umask(mask);
    if (!FillSynced(file, text, ModeOf(target, 0666 & ~mask)) ||
        rename(temporary.c_str(), target.c_str()) != 0) {
        const std::string said = problem + Describe(errno);
        unlink(temporary.c_str());
        return said;
    }
    SyncFolder(FolderOf(target));
    return {};
}

TFileRegistryBackend::TFileRegistryBackend(std::string path, TReport report)
    : FPath(std::move(path)), FReport(std::move(report))
{
}

bool TFileRegistryBackend::KeyExists(std::string_view path)
{
    return Document().KeyExists(path);
}

std::optional<TRegValue> TFileRegistryBackend::ReadValue(std::string_view path, std::string_view name)
{
    const TRegValue *value = Document().Find(path, name);
    return value ? std::optional(*value) : std::nullopt;
}

bool TFileRegistryBackend::CanWrite()
{
    const std::string problem = WriteProblem();
    if (!problem.empty()) {
        ReportOnce(problem);
    }
    return problem.empty();
}

bool TFileRegistryBackend::Commit(std::string_view path, const std::vector<TRegChange> &changes)
{
    const std::string problem = Store([&](TRegDocument &document) { document.Apply(path, changes); });
    if (!problem.empty()) {
        ReportOnce(problem);
    }
    return problem.empty();
}

void TFileRegistryBackend::RepairDamage()
{
    Document();
    if (FLoad == TLoad::Damaged && WriteProblem().empty()) {
        if (const std::string problem = Store([](TRegDocument &) {}); !problem.empty()) {
            ReportOnce(problem);
        }
    }
}

std::string TFileRegistryBackend::Merge(const TRegDocument &values)
{
    return Store([&](TRegDocument &document) { document.Import(values); });
}

const TRegDocument &TFileRegistryBackend::Document()
{
    if (!FDocument) {
        TFileContents contents = ReadBounded(FPath);
        TRegParseResult parsed = ParseRegText(contents.Text);
        FDocument = std::move(parsed.Document);
        switch (contents.Result) {
        case TFileRead::Missing:
            FLoad = TLoad::Missing;
            break;
        case TFileRead::Unreadable:
            FLoad = TLoad::Unreadable;
            FUnreadable = "orvani: cannot read the settings file " + FPath + " (" + Describe(contents.Error) +
                          "); it is left as it is, the default settings are used and nothing is stored";
            ReportOnce(FUnreadable);
            break;
        case TFileRead::NotAStore:
            FLoad = TLoad::Damaged;
            break;
        case TFileRead::Read:
            FLoad = parsed.Damaged || contents.Truncated ? TLoad::Damaged : TLoad::Read;
            break;
        }
    }
    return *FDocument;
}

std::string TFileRegistryBackend::WriteProblem()
{
    Document();
    const std::string target = LinkTarget(FPath);
    if (FLoad == TLoad::Unreadable) {
        return FUnreadable;
    }
    if (access(target.c_str(), F_OK) == 0 && !MayWrite(target)) {
        return "orvani: the settings file " + FPath + " is read-only; changes to the settings are not stored";
    }
    for (const std::string &folder : {FolderOf(FPath), FolderOf(target)}) {
        if (!MakeFolders(folder) || !MayWrite(folder)) {
            return "orvani: the settings cannot be stored in " + folder + " (" + Describe(errno) +
                   "); changes to the settings are not stored";
        }
    }
    return {};
}

std::string TFileRegistryBackend::Store(const std::function<void(TRegDocument &)> &change)
{
    if (std::string problem = WriteProblem(); !problem.empty()) {
        return problem;
    }
    // The lock lies beside the file that is replaced, so that every way to it shares one lock.
    const std::string target = LinkTarget(FPath);
    const StoreLock lock(target + ".lock");
    if (!lock.Held()) {
        return "orvani: the settings file " + FPath + " stayed locked by another program; nothing was stored";
    }
    // Read again under the lock: another instance may have written since.
    TFileContents contents = ReadBounded(target);
    if (contents.Result == TFileRead::Unreadable) {
        return "orvani: cannot read the settings file " + FPath + " (" + Describe(contents.Error) +
               "); nothing was stored";
    }
    TRegParseResult store = ParseRegText(contents.Text);
    const bool damaged = contents.Result == TFileRead::NotAStore ||
                         (contents.Result == TFileRead::Read && (store.Damaged || contents.Truncated));
    change(store.Document);
    const std::string temporary = target + ".tmp";
    std::string kept;
    const bool stored = WriteSynced(temporary, FormatRegText(store.Document), ModeOf(target, 0600)) &&
                        (!damaged || !(kept = KeepAside(target)).empty()) &&
                        rename(temporary.c_str(), target.c_str()) == 0;
    if (!stored) {
        const std::string problem =
            "orvani: the settings could not be stored in " + FPath + ": " + Describe(errno);
        unlink(temporary.c_str());
        return problem;
    }
    SyncFolder(FolderOf(target));
    FDocument = std::move(store.Document);
    FLoad = TLoad::Read;
    if (!kept.empty()) {
        FKeptCopy = kept;
        FReport("orvani: the settings file " + FPath +
                " was damaged; what could not be read was reset to the defaults, and the damaged file was "
                "kept as " +
                kept);
    }
    return {};
}

void TFileRegistryBackend::ReportOnce(const std::string &line)
{
    if (FReported.insert(line).second) {
        FReport(line);
    }
}
