#include <foundation/DeviceRoot.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace foundation {

namespace {

std::mutex s_mutex;
std::optional<std::string> s_root;
std::string s_createdRoot;
pid_t s_creatorProcess = 0;

// "" and "/" would put device paths on the host's own folders: never a usable root.
std::optional<std::string> usableRoot(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.empty() || path == "/" || path.find('\0') != std::string::npos)
        return std::nullopt;
    if (path.front() != '/') {
        std::error_code error;
        auto absolute = std::filesystem::absolute(path, error);
        if (error)
            return std::nullopt;
        path = absolute.lexically_normal().string();
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
    }
    return path;
}

void removeCreatedRoot()
{
    // Forked children inherit this handler; only the process that made the folder removes it.
    if (s_createdRoot.empty() || ::getpid() != s_creatorProcess)
        return;
    std::error_code error;
    std::filesystem::remove_all(s_createdRoot, error);
}

std::string makePrivateRoot()
{
    const char* temporaryFolder = std::getenv("TMPDIR");
    std::string pattern = std::string(temporaryFolder && *temporaryFolder ? temporaryFolder : "/tmp") + "/torvane-device-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        pattern = "/tmp/torvane-device-" + std::to_string(::getpid());
    std::error_code error;
    std::filesystem::create_directories(pattern, error);
    s_createdRoot = pattern;
    s_creatorProcess = ::getpid();
    std::atexit(removeCreatedRoot);
    return pattern;
}

const std::string& rootLocked()
{
    if (!s_root) {
        const char* fromEnvironment = std::getenv(DeviceRoot::environmentVariable);
        if (fromEnvironment)
            s_root = usableRoot(fromEnvironment);
        if (!s_root)
            s_root = makePrivateRoot();
    }
    return *s_root;
}

}

void DeviceRoot::set(std::string hostPath)
{
    std::lock_guard lock(s_mutex);
    s_root = usableRoot(std::move(hostPath));
}

std::string DeviceRoot::path()
{
    std::lock_guard lock(s_mutex);
    return rootLocked();
}

std::optional<std::string> DeviceRoot::resolve(std::string_view devicePath)
{
    if (devicePath.empty() || devicePath.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string_view> components;
    size_t start = 0;
    while (start <= devicePath.size()) {
        size_t slash = devicePath.find('/', start);
        if (slash == std::string_view::npos)
            slash = devicePath.size();
        const std::string_view component = devicePath.substr(start, slash - start);
        if (component == "..") {
            if (components.empty())
                return std::nullopt;
            components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = slash + 1;
    }
    std::string hostPath = path();
    for (std::string_view component : components) {
        hostPath += '/';
        hostPath += component;
    }
    return hostPath;
}

}
