#include "settings/FileRegistryBackend.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
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
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    bool Close()
    {
        const bool closed = fd_ < 0 || close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
};

// Holds an exclusive lock on the lock file while it lives.
class StoreLock {
public:
    explicit StoreLock(const std::string &path)
        : file_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600))
    {
        const auto deadline = std::chrono::steady_clock::now() + LockTimeout;
        while (file_ && flock(file_.Get(), LOCK_EX | LOCK_NB) != 0) {
            const bool retry =
                (errno == EWOULDBLOCK || errno == EINTR) && std::chrono::steady_clock::now() < deadline;
            if (retry) {
                std::this_thread::sleep_for(LockRetryInterval);
            } else {
                file_.Close();
            }
        }
    }
    bool Held() const { return static_cast<bool>(file_); }

private:
    FileDescriptor file_;
};

struct StoreContents {
    TRegDocument Document;
    bool KeepAside = false; // the file exists but will not survive a rewrite unchanged
};

// The whole file, unless reading fails or it grows past the limit while being read.
bool ReadAll(int fd, std::string &text)
{
    char buffer[65536];
    while (true) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count == 0) {
            return true;
        }
        if (count < 0 && errno != EINTR) {
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
        if (text.size() > MaxStoreSize) {
            return false;
        }
    }
}

StoreContents LoadStore(const std::string &path)
{
    // Non-blocking, so that a pipe put in the store's place cannot stall the program.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file) {
        // No file (or no folder) yet is a first start; anything else is a file we cannot use.
        return {{}, errno != ENOENT && errno != ENOTDIR};
    }
    struct stat info {};
    std::string text;
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::size_t>(info.st_size) > MaxStoreSize || !ReadAll(file.Get(), text)) {
        return {{}, true};
    }
    TRegParseResult parsed = ParseRegText(text);
    return {std::move(parsed.Document), parsed.Damaged};
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

bool WriteSynced(const std::string &path, std::string_view text)
{
    FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0600));
    const bool written = file && WriteAll(file.Get(), text) && fsync(file.Get()) == 0;
    return file.Close() && written;
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
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
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

TFileRegistryBackend::TFileRegistryBackend(std::string path) : path_(std::move(path)) {}

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
    return MakeFolders(FolderOf(path_)) &&
           FileDescriptor(open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600));
}

bool TFileRegistryBackend::Commit(std::string_view path, const std::vector<TRegChange> &changes)
{
    const std::string folder = FolderOf(path_);
    if (!MakeFolders(folder)) {
        return false;
    }
    const StoreLock lock(path_ + ".lock");
    if (!lock.Held()) {
        return false;
    }
    // Read again under the lock: another instance may have written since.
    StoreContents store = LoadStore(path_);
    store.Document.Apply(path, changes);
    const std::string temporary = path_ + ".tmp";
    const bool stored = WriteSynced(temporary, FormatRegText(store.Document)) &&
                        (!store.KeepAside || rename(path_.c_str(), (path_ + ".bad").c_str()) == 0) &&
                        rename(temporary.c_str(), path_.c_str()) == 0;
    if (!stored) {
        unlink(temporary.c_str());
        return false;
    }
    SyncFolder(folder);
    document_ = std::move(store.Document);
    return true;
}

const TRegDocument &TFileRegistryBackend::Document()
{
    if (!document_) {
        document_ = LoadStore(path_).Document;
    }
    return *document_;
}
