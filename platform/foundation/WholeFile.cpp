#include <foundation/DeviceRoot.h>
#include <foundation/WholeFile.h>

#include <algorithm>
#include <csignal>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {

static WholeFile::BeforeRenameHook s_beforeRenameHook;

void WholeFile::setBeforeRenameHookForTesting(BeforeRenameHook hook)
{
    s_beforeRenameHook = hook;
}

namespace {

// Closes a descriptor when it goes.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now and reports whether the close succeeded (it can report a failed write).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::span<const uint8_t> bytes)
{
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (result < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        written += static_cast<size_t>(result);
    }
    return true;
}

std::string folderOf(const std::string& hostPath)
{
    const size_t slash = hostPath.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

bool writeAtomically(const std::string& hostPath, std::span<const uint8_t> bytes, bool durably)
{
    const std::string folder = folderOf(hostPath);
    const std::string name = hostPath.substr(hostPath.rfind('/') + 1);
    std::string temporary = folder + "/." + name + ".XXXXXX";
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        return false;
    bool ok = ::fchmod(file.get(), 0644) == 0 && writeAll(file.get(), bytes) && (!durably || ::fsync(file.get()) == 0);
    ok = file.close() && ok;
    if (ok && s_beforeRenameHook)
        ok = s_beforeRenameHook(temporary);
    if (!ok || ::rename(temporary.c_str(), hostPath.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    if (!durably)
        return true;
    // Make the new directory entry durable too; the data is already in place, so a folder that
    // cannot be synced does not make the write fail.
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        ::fsync(directory.get());
    return true;
}

bool writeInPlace(const std::string& hostPath, std::span<const uint8_t> bytes)
{
    FileDescriptor file(::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (file.get() < 0)
        return false;
    const bool ok = writeAll(file.get(), bytes);
    return file.close() && ok;
}

}

bool WholeFile::write(std::string_view devicePath, std::span<const uint8_t> bytes, Write how)
{
    // A write past the process's file-size limit raises SIGXFSZ, which ends the process unless it
    // is ignored; ignored, the write fails with EFBIG like a full disk, and the old file stays.
    static const bool sizeLimitSignalIgnored = [] {
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            ::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)sizeLimitSignalIgnored;
    const std::optional<std::string> hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath || hostPath->empty() || hostPath->back() == '/')
        return false;
    if (how == Write::InPlace)
        return writeInPlace(*hostPath, bytes);
    return writeAtomically(*hostPath, bytes, how == Write::Durably);
}

std::optional<std::vector<uint8_t>> WholeFile::read(std::string_view devicePath, size_t maximumSize)
{
    const std::optional<std::string> hostPath = DeviceRoot::resolve(devicePath);
    if (!hostPath)
        return std::nullopt;
    FileDescriptor file(::open(hostPath->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0)
        return std::nullopt;
    struct stat status;
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    if (static_cast<uint64_t>(status.st_size) > maximumSize)
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(status.st_size));
    size_t filled = 0;
    while (true) {
        if (filled == bytes.size()) {
            // The file may have grown since fstat: keep reading, within the limit.
            if (bytes.size() > maximumSize)
                return std::nullopt;
            bytes.resize(std::min(maximumSize + 1, bytes.size() + 4096));
        }
        const ssize_t result = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (result < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (result == 0)
            break;
        filled += static_cast<size_t>(result);
    }
    if (filled > maximumSize)
        return std::nullopt;
    bytes.resize(filled);
    return bytes;
}

}
