#include "DevicePackages.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace sim::driver {

namespace fs = std::filesystem;

namespace {

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

}

DevicePackages::DevicePackages(fs::path root, BuildLayout layout)
    : m_root(std::move(root))
    , m_layout(std::move(layout))
{
}

bool DevicePackages::hasDatabase() const
{
    std::error_code error;
    return fs::is_regular_file(m_root / fs::path(databaseFolder).relative_path() / "status", error);
}

DevicePackages::Run DevicePackages::run(const std::vector<std::string>& arguments) const
{
    // The device's tools come first; the rest of PATH is the host's, where dpkg and the shell live.
    std::string path = m_layout.deviceToolsFolder.string() + ":/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin";
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        std::string_view text = *entry;
        if (!text.starts_with("PATH=") && !text.starts_with("DPKG_"))
            environment.emplace_back(text);
    }
    environment.push_back("PATH=" + path);
    environment.push_back("DPKG_COLORS=never");
    std::vector<char*> envp;
    for (auto& text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<std::string> argumentText = arguments;
    std::vector<char*> argv;
    for (auto& text : argumentText)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot run ") + arguments.front() + ": " + std::strerror(errno));
    pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        throw std::runtime_error(std::string("cannot run ") + arguments.front() + ": " + std::strerror(errno));
    }
    if (pid == 0) {
        int nothing = ::open("/dev/null", O_RDONLY);
        if (nothing >= 0)
            ::dup2(nothing, 0);
        ::dup2(pipeEnds[1], 1);
        ::dup2(pipeEnds[1], 2);
        ::execvpe(argv[0], argv.data(), envp.data());
        const char message[] = "cannot start the program\n";
        ssize_t ignored = ::write(2, message, sizeof(message) - 1);
        (void)ignored;
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    Run result;
    char buffer[4096];
    for (;;) {
        ssize_t count = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (count > 0) {
            result.output.append(buffer, static_cast<size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        break;
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

DevicePackages::Run DevicePackages::dpkg(const fs::path& root, const std::vector<std::string>& arguments) const
{
    // --force-not-root: the device folder belongs to whoever runs the driver.
    std::vector<std::string> command { "dpkg", "--root=" + root.string(), "--force-not-root", "--force-script-chrootless" };
    command.insert(command.end(), arguments.begin(), arguments.end());
    return run(command);
}

void DevicePackages::createDatabase(const fs::path& root) const
{
    auto database = root / fs::path(databaseFolder).relative_path();
    for (const char* folder : { "info", "updates", "triggers" })
        fs::create_directories(database / folder);
    fs::create_directories(root / "var/run");
    fs::create_directories(root / "var/log");
    if (!fs::exists(database / "status"))
        std::ofstream(database / "status");
}

std::vector<std::string> DevicePackages::takeKillRequests(const fs::path& root) const
{
    auto path = root / fs::path(killRequestsPath).relative_path();
    std::vector<std::string> names;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && std::find(names.begin(), names.end(), line) == names.end())
            names.push_back(line);
    }
    std::error_code error;
    fs::remove(path, error);
    return names;
}

fs::path DevicePackages::preinstalledImage()
{
    // One image per set of package files: a rebuilt package has another size or time.
    size_t key = 0;
    for (const auto& name : m_layout.devicePackages) {
        auto file = m_layout.packagesFolder / name;
        auto stamp = fs::last_write_time(file).time_since_epoch().count();
        for (size_t part : { std::hash<std::string>()(name), static_cast<size_t>(fs::file_size(file)), static_cast<size_t>(stamp) })
            key = key * 1000003u ^ part;
    }
    std::ostringstream keyText;
    keyText << std::hex << key;
    auto image = m_layout.deviceImagesFolder / keyText.str();
    std::error_code error;
    if (fs::is_directory(image, error))
        return image;

    // Made beside the others and renamed into place, so a driver running at the same time either
    // finds a whole image or makes its own; the loser of the rename drops its copy.
    fs::create_directories(m_layout.deviceImagesFolder);
    std::string pattern = (m_layout.deviceImagesFolder / ".new-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder in " + m_layout.deviceImagesFolder.string() + ": " + std::strerror(errno));
    fs::path fresh = pattern;
    try {
        createDatabase(fresh);
        std::vector<std::string> arguments { "--install" };
        for (const auto& name : m_layout.devicePackages)
            arguments.push_back((m_layout.packagesFolder / name).string());
        Run result = dpkg(fresh, arguments);
        if (result.status != 0)
            throw std::runtime_error("dpkg could not install the device's packages:\n" + trimmed(result.output));
        // Nothing runs yet while a device is made: the scripts' restart requests mean nothing.
        takeKillRequests(fresh);
    } catch (...) {
        fs::remove_all(fresh, error);
        throw;
    }
    fs::rename(fresh, image, error);
    if (error)
        fs::remove_all(fresh, error);

    // Images of packages built long ago go; a recent one may still be copied by another run.
    auto now = fs::file_time_type::clock::now();
    for (const auto& entry : fs::directory_iterator(m_layout.deviceImagesFolder, error)) {
        if (entry.path() == image)
            continue;
        std::error_code timeError;
        auto written = fs::last_write_time(entry.path(), timeError);
        if (!timeError && now - written > std::chrono::minutes(30))
            fs::remove_all(entry.path(), timeError);
    }
    return image;
}

std::optional<std::string> DevicePackages::installDevicePackages()
{
    std::string missing;
    for (const auto& name : m_layout.devicePackages) {
        std::error_code error;
        if (!fs::is_regular_file(m_layout.packagesFolder / name, error))
            missing += (missing.empty() ? "" : ", ") + name;
    }
    if (m_layout.devicePackages.empty() || !missing.empty()) {
        createDatabase(m_root);
        return "the device's packages are not built yet (" + (missing.empty() ? std::string("none named") : missing)
            + " in " + m_layout.packagesFolder.string() + "); the device has no add-on";
    }
    auto image = preinstalledImage();
    std::error_code error;
    fs::copy(image, m_root, fs::copy_options::recursive | fs::copy_options::copy_symlinks | fs::copy_options::overwrite_existing, error);
    if (error)
        throw std::runtime_error("cannot copy the pre-installed device " + image.string() + ": " + error.message());
    return std::nullopt;
}

std::optional<DevicePackages::State> DevicePackages::state(const std::string& name) const
{
    auto database = m_root / fs::path(databaseFolder).relative_path();
    Run result = run({ "dpkg-query", "--admindir=" + database.string(), "--show", "--showformat=${db:Status-Abbrev}\t${Version}", name });
    if (result.status != 0)
        return std::nullopt;
    auto tab = result.output.find('\t');
    if (tab == std::string::npos)
        return std::nullopt;
    return State { trimmed(result.output.substr(0, tab)), trimmed(result.output.substr(tab + 1)) };
}

DevicePackages::Outcome DevicePackages::install(const fs::path& file)
{
    Run field = run({ "dpkg-deb", "--field", file.string(), "Package" });
    if (field.status != 0)
        return { false, trimmed(field.output), {} };
    std::string name = trimmed(field.output);
    auto before = state(name);
    bool wasInstalled = before && !before->absent();

    Run result = dpkg(m_root, { "--install", file.string() });
    Outcome outcome { result.status == 0, trimmed(result.output), takeKillRequests(m_root) };
    if (outcome.succeeded || wasInstalled)
        return outcome;
    auto after = state(name);
    if (after && !after->absent() && !after->installed()) {
        Run undo = dpkg(m_root, { "--remove", name });
        takeKillRequests(m_root);
        outcome.killed.clear();
        outcome.output += "\n(" + name + " was left unpacked but not configured; "
            + (undo.status == 0 ? "it was removed again" : "removing it again failed:\n" + trimmed(undo.output)) + ")";
    }
    return outcome;
}

DevicePackages::Outcome DevicePackages::remove(const std::string& name)
{
    Run result = dpkg(m_root, { "--remove", name });
    return { result.status == 0, trimmed(result.output), takeKillRequests(m_root) };
}

}
