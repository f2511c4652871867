#include "Device.h"

#include <cstdio>

#include "CommandRules.h"

#include <sim/protocol/CommandChecker.h>
#include "PropertyListJson.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <stdexcept>
#include <unistd.h>

namespace sim::driver {

namespace fs = std::filesystem;

namespace {

constexpr const char* markerName = ".torvane-device";

const char* const deviceFolders[] = {
    "/var/mobile/Library/Preferences",
    "/var/mobile/Library/Nimbrel",
    "/var/mobile/Library/SpringBoard",
    "/Library/MobileSubstrate/DynamicLibraries",
    "/System/Library/PreferenceBundles",
    "/var/run",
    "/var/log",
    "/Applications",
};

// `path` is `folder` or lies inside it (both resolved, component by component).
bool isWithin(const fs::path& path, const fs::path& folder)
{
    auto [mismatch, end] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return mismatch == folder.end();
}

fs::path resolved(const fs::path& path)
{
    std::error_code error;
    auto normal = fs::weakly_canonical(path, error).lexically_normal();
    if (error)
        normal = fs::absolute(path).lexically_normal();
    // "/a/b/" has an empty last component; "/a/b" is the same folder.
    return normal.has_filename() || normal == normal.root_path() ? normal : normal.parent_path();
}

fs::path homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

// A device folder is filled with the device's tree and, when kept, emptied by a later run: it must
// never be a folder that holds the machine, the user's files or the project itself, whatever
// marker it carries.
void refuseFolderThatIsNotADevice(const fs::path& root, const BuildLayout& layout)
{
    auto folder = resolved(root);
    auto refuse = [&](const std::string& reason) {
        throw std::runtime_error("refusing to use " + root.string() + " as a device folder: " + reason + "; choose an empty folder or one torvane-sim made");
    };
    if (folder == folder.root_path())
        refuse("it is the root of the file system");
    if (auto home = homeFolder(); !home.empty() && isWithin(resolved(home), folder))
        refuse(folder == resolved(home) ? "it is your home folder" : "it holds your home folder");
    auto sourceTree = resolved(layout.resourcesFolder.parent_path());
    auto buildFolder = resolved(layout.binFolder.parent_path());
    if (isWithin(sourceTree, folder))
        refuse(folder == sourceTree ? "it is the source tree" : "it holds the source tree");
    if (isWithin(buildFolder, folder))
        refuse(folder == buildFolder ? "it is the build folder" : "it holds the build folder");
    std::error_code error;
    if (fs::exists(folder / ".git", error))
        refuse("it holds a git repository");
}

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

}

std::unique_ptr<Device> Device::create(BuildLayout layout, Ownership ownership, fs::path folder)
{
    fs::path root;
    if (ownership == Ownership::Fresh) {
        const char* temporary = std::getenv("TMPDIR");
        std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") + "/torvane-device-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a device folder in " + pattern);
        root = pattern;
    } else {
        root = fs::absolute(folder).lexically_normal();
        refuseFolderThatIsNotADevice(root, layout);
        std::error_code error;
        if (fs::exists(root, error) && !fs::is_empty(root, error)) {
            if (!fs::exists(root / markerName, error))
                throw std::runtime_error(root.string() + " is not empty and was not made by torvane-sim; not touching it (choose an empty folder or one torvane-sim made)");
            if (ownership == Ownership::KeepFresh) {
                for (const auto& entry : fs::directory_iterator(root))
                    fs::remove_all(entry.path());
            }
        }
        fs::create_directories(root, error);
        if (!fs::is_directory(root, error))
            throw std::runtime_error("cannot make the device folder " + root.string());
    }
    auto device = std::unique_ptr<Device>(new Device(std::move(layout), root, ownership != Ownership::Fresh));
    device->layOut();
    return device;
}

Device::Device(BuildLayout layout, fs::path root, bool keep)
    : m_layout(std::move(layout))
    , m_root(std::move(root))
    , m_keep(keep)
    , m_packages(m_root, m_layout)
{
}

Device::~Device()
{
    if (m_keep)
        return;
    std::error_code error;
    if (fs::exists(m_root / markerName, error))
        fs::remove_all(m_root, error);
}

void Device::layOut()
{
    std::error_code error;
    if (!fs::exists(m_root / markerName, error))
        writeText(m_root / markerName, "A simulated Torvane device made by torvane-sim.\n");
    for (const char* folder : deviceFolders) {
        fs::create_directories(hostPath(folder), error);
        if (error)
            throw std::runtime_error("cannot make " + hostPath(folder).string() + ": " + error.message());
    }
}

fs::path Device::hostPath(const std::string& devicePath) const
{
    fs::path relative = fs::path(devicePath).relative_path();
    return m_root / relative;
}

fs::path Device::captureFile(const std::string& processName) const
{
    return hostPath("/var/log/" + processName + ".stderr");
}

void Device::setPreference(const std::string& key, const Json& value)
{
    auto path = hostPath(preferencesPath);
    auto current = PropertyListJson::readFile(path);
    if (current.status == PropertyListJson::Status::Unreadable)
        throw std::runtime_error("the preferences file is not a readable property list; not overwriting it");
    Json preferences = current.status == PropertyListJson::Status::Read ? current.value : Json::object();
    if (!preferences.is_object())
        throw std::runtime_error("the preferences file does not hold a dictionary; not overwriting it");
    preferences[key] = value;
    if (!PropertyListJson::writeFile(path, preferences))
        throw std::runtime_error("cannot write the preferences file " + path.string());
}

void Device::removePreference(const std::string& key)
{
    auto path = hostPath(preferencesPath);
    auto current = PropertyListJson::readFile(path);
    if (current.status == PropertyListJson::Status::Missing)
        return;
    if (current.status == PropertyListJson::Status::Unreadable || !current.value.is_object())
        throw std::runtime_error("the preferences file is not a readable dictionary; not overwriting it");
    Json preferences = current.value;
    preferences.erase(key);
    if (!PropertyListJson::writeFile(path, preferences))
        throw std::runtime_error("cannot write the preferences file " + path.string());
}

void Device::putFile(const std::string& devicePath, const fs::path& source)
{
    if (!protocol::CommandChecker::isSafeDevicePath(devicePath))
        throw std::runtime_error("device path must be absolute and inside the device: " + devicePath);
    std::error_code error;
    if (!fs::is_regular_file(source, error))
        throw std::runtime_error("no such file: " + source.string());
    auto target = hostPath(devicePath);
    fs::create_directories(target.parent_path(), error);
    fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
    if (error)
        throw std::runtime_error("cannot copy " + source.string() + " to " + devicePath + ": " + error.message());
}

void Device::removeFile(const std::string& devicePath)
{
    if (!protocol::CommandChecker::isSafeDevicePath(devicePath))
        throw std::runtime_error("device path must be absolute and inside the device: " + devicePath);
    std::error_code error;
    fs::remove_all(hostPath(devicePath), error);
    if (error)
        throw std::runtime_error("cannot remove " + devicePath + ": " + error.message());
}

std::string Device::companionStageSecondsText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", m_companionStageSeconds);
    return text;
}

void Device::provision()
{
    if (m_provisioned)
        return;
    m_provisioned = true;
    if (m_packages.hasDatabase())
        return;
    if (auto warning = m_packages.installDevicePackages())
        m_provisionWarnings.push_back(*warning);
}

DevicePackages& Device::packages()
{
    provision();
    return m_packages;
}

std::vector<std::string> Device::prepareForBoot()
{
    const AppCatalog& apps = m_apps.isEmpty() ? AppCatalog::standardSet() : m_apps;
    writeText(hostPath(AppCatalog::devicePath), apps.toJson().dump(2) + "\n");

    provision();
    std::vector<std::string> warnings = std::move(m_provisionWarnings);
    m_provisionWarnings.clear();

    // Packages installed, files gone: what a user who deletes them by hand leaves.
    std::error_code error;
    if (!m_companion) {
        fs::remove(hostPath(std::string(substratePath) + "/Nimbrel.dylib"), error);
        fs::remove(hostPath(std::string(substratePath) + "/Nimbrel.plist"), error);
    }
    if (!m_activator)
        fs::remove(hostPath(std::string(substratePath) + "/Activator.dylib"), error);
    return warnings;
}

}
