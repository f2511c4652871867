#include <foundation/DeviceRoot.h>
#include <foundation/NSArray.h>
#include <foundation/NSError.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSString.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace foundation {

using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(NSFileManager)

NSFileManager& NSFileManager::defaultManager()
{
    // Lives as long as the process; never released.
    static NSFileManager* manager = new NSFileManager;
    return *manager;
}

namespace {

// Reports a failure; messages name the device path, never the host folder behind it.
bool fail(RefPtr<NSError>* error, int code, std::string_view operation, std::string_view path)
{
    if (error)
        *error = NSError::posixError(code, std::string(operation) + " \"" + std::string(path) + "\"");
    return false;
}

bool fail(RefPtr<NSError>* error, const std::error_code& code, std::string_view operation, std::string_view path)
{
    return fail(error, code.value() ? code.value() : EIO, operation, path);
}

}

bool NSFileManager::fileExistsAtPath(std::string_view path) const
{
    return fileExistsAtPathIsDirectory(path, nullptr);
}

bool NSFileManager::fileExistsAtPathIsDirectory(std::string_view path, bool* isDirectory) const
{
    const auto hostPath = DeviceRoot::resolve(path);
    struct stat status;
    // Like Foundation, links are followed: a dangling link does not exist.
    if (!hostPath || ::stat(hostPath->c_str(), &status) != 0)
        return false;
    if (isDirectory)
        *isDirectory = S_ISDIR(status.st_mode);
    return true;
}

bool NSFileManager::removeItemAtPath(std::string_view path, RefPtr<NSError>* error)
{
    const auto hostPath = DeviceRoot::resolve(path);
    if (!hostPath)
        return fail(error, EACCES, "Cannot remove", path);
    if (*hostPath == DeviceRoot::path())
        return fail(error, EPERM, "Cannot remove the device's root folder", path);
    std::error_code code;
    if (!fs::exists(fs::symlink_status(*hostPath, code)))
        return fail(error, ENOENT, "Cannot remove", path);
    fs::remove_all(*hostPath, code);
    if (code)
        return fail(error, code, "Cannot remove", path);
    return true;
}

RefPtr<NSArray> NSFileManager::contentsOfDirectoryAtPath(std::string_view path, RefPtr<NSError>* error)
{
    const auto hostPath = DeviceRoot::resolve(path);
    if (!hostPath) {
        fail(error, EACCES, "Cannot list", path);
        return nullptr;
    }
    std::error_code code;
    fs::directory_iterator entries(*hostPath, code);
    if (code) {
        fail(error, code, "Cannot list", path);
        return nullptr;
    }
    std::vector<std::string> names;
    for (auto end = fs::directory_iterator(); entries != end; entries.increment(code)) {
        if (code)
            break;
        names.push_back(entries->path().filename().string());
    }
    if (code) {
        fail(error, code, "Cannot list", path);
        return nullptr;
    }
    std::sort(names.begin(), names.end());
    NSArray::Storage strings;
    strings.reserve(names.size());
    for (auto& name : names)
        strings.push_back(NSString::create(std::move(name)));
    return NSArray::create(std::move(strings));
}

bool NSFileManager::createDirectoryAtPath(std::string_view path, bool withIntermediateDirectories, RefPtr<NSError>* error)
{
    const auto hostPath = DeviceRoot::resolve(path);
    if (!hostPath)
        return fail(error, EACCES, "Cannot create folder", path);
    std::error_code code;
    if (withIntermediateDirectories) {
        fs::create_directories(*hostPath, code);
        if (code)
            return fail(error, code, "Cannot create folder", path);
        if (!fs::is_directory(*hostPath, code))
            return fail(error, EEXIST, "Cannot create folder", path);
        return true;
    }
    if (::mkdir(hostPath->c_str(), 0755) != 0)
        return fail(error, errno, "Cannot create folder", path);
    return true;
}

bool NSFileManager::copyItemAtPath(std::string_view from, std::string_view to, RefPtr<NSError>* error)
{
    const auto hostFrom = DeviceRoot::resolve(from);
    const auto hostTo = DeviceRoot::resolve(to);
    if (!hostFrom)
        return fail(error, EACCES, "Cannot copy", from);
    if (!hostTo)
        return fail(error, EACCES, "Cannot copy to", to);
    std::error_code code;
    const fs::file_status source = fs::symlink_status(*hostFrom, code);
    if (!fs::exists(source))
        return fail(error, ENOENT, "Cannot copy", from);
    if (fs::exists(fs::symlink_status(*hostTo, code)))
        return fail(error, EEXIST, "Cannot copy to", to);
    // A folder copied into itself would keep finding its own copy.
    if (fs::is_directory(source) && (*hostTo + "/").starts_with(*hostFrom + "/"))
        return fail(error, EINVAL, "Cannot copy a folder into itself", to);
    fs::copy(*hostFrom, *hostTo, fs::copy_options::recursive | fs::copy_options::copy_symlinks, code);
    if (code)
        return fail(error, code, "Cannot copy", from);
    return true;
}

}
