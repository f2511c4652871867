#include <preferences/PrefsListController.h>

#include <foundation/DeviceRoot.h>
#include <foundation/NSBundle.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSLog.h>
#include <foundation/NSString.h>
#include <preferences/PSClassFactory.h>
#include <uikit/NSIndexPath.h>
#include <uikit/UIAlertView.h>

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>
#include <map>

namespace preferences {

TORVANE_DEFINE_CLASS(PrefsListController)

namespace {

constexpr const char* preferenceBundlesFolder = "/System/Library/PreferenceBundles";

// Executables already loaded in this process, by device path. dlopen is asked once per path: the
// library's load-time functions (its class registrations) must run once, and a failed load is not
// retried on every tap.
std::map<std::string, void*>& loadedExecutables()
{
    static std::map<std::string, void*> loaded;
    return loaded;
}

bool loadExecutableOnce(const std::string& devicePath)
{
    auto& loaded = loadedExecutables();
    if (auto found = loaded.find(devicePath); found != loaded.end())
        return found->second != nullptr;
    auto hostPath = foundation::DeviceRoot::resolve(devicePath);
    void* handle = hostPath ? dlopen(hostPath->c_str(), RTLD_NOW | RTLD_GLOBAL) : nullptr;
    if (!handle)
        foundation::NSLog("cannot load %@: %@", devicePath, std::string(hostPath ? dlerror() : "path outside the device"));
    loaded.emplace(devicePath, handle);
    return handle != nullptr;
}

void showCannotOpen(const std::string& name)
{
    auto alert = uikit::UIAlertView::create(name, std::string("This settings pane could not be loaded."), nullptr, std::string("OK"));
    alert->show();
}

}

runtime::Ref<PrefsListController> PrefsListController::create()
{
    return runtime::adoptRef(*new PrefsListController);
}

PrefsListController::PrefsListController() = default;

bool PrefsListController::initForContentSize(CGSize size)
{
    if (!PSListController::initForContentSize(size))
        return false;
    setTitle(std::string("Settings"));
    std::vector<runtime::Ref<PSSpecifier>> entries;
    auto folder = foundation::DeviceRoot::resolve(preferenceBundlesFolder);
    std::error_code error;
    if (folder && std::filesystem::is_directory(*folder, error)) {
        for (auto& item : std::filesystem::directory_iterator(*folder, error)) {
            auto fileName = item.path().filename().string();
            if (fileName.size() <= 7 || !fileName.ends_with(".bundle"))
                continue;
            std::string bundlePath = std::string(preferenceBundlesFolder) + "/" + fileName;
            auto info = foundation::NSDictionary::dictionaryWithContentsOfFile(bundlePath + "/Info.plist");
            if (!info)
                continue;
            auto displayName = info->stringForKey("CFBundleDisplayName");
            auto entry = PSSpecifier::create(displayName ? displayName->string() : fileName.substr(0, fileName.size() - 7), PSCellType::Link);
            entry->setPropertyForKey(foundation::NSString::create(bundlePath), "bundlePath");
            if (auto executable = info->stringForKey("CFBundleExecutable"))
                entry->setPropertyForKey(executable, "CFBundleExecutable");
            if (auto principal = info->stringForKey("NSPrincipalClass"))
                entry->setPropertyForKey(principal, "NSPrincipalClass");
            entries.push_back(entry);
        }
    }
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a->name() < b->name(); });
    entries.insert(entries.begin(), PSSpecifier::create({}, PSCellType::Group));
    setSpecifiers(std::move(entries));
    return true;
}

void PrefsListController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table, uikit::NSIndexPath& indexPath)
{
    runtime::Ref<PrefsListController> protect(*this);
    table.deselectRowAtIndexPath(indexPath, true);
    for (auto& entry : specifiers()) {
        auto path = indexPathForSpecifier(entry.get());
        if (path && path->isEqual(&indexPath)) {
            openBundle(entry.get());
            return;
        }
    }
}

bool PrefsListController::openEntryNamed(std::string_view displayName)
{
    for (auto& entry : specifiers()) {
        if (entry->cellType() == PSCellType::Link && entry->name() == displayName)
            return openBundle(entry.get());
    }
    return false;
}

bool PrefsListController::openBundle(PSSpecifier& entry)
{
    runtime::Ref<PSSpecifier> protect(entry);
    auto* root = rootController() ? rootController() : navigationController();
    auto bundlePath = entry.stringProperty("bundlePath").value_or("");
    auto executable = entry.stringProperty("CFBundleExecutable");
    auto principal = entry.stringProperty("NSPrincipalClass");
    auto bundle = foundation::NSBundle::bundleWithPath(bundlePath);
    if (!root || !bundle || !executable || !principal || !loadExecutableOnce(bundlePath + "/" + *executable)) {
        showCannotOpen(entry.name());
        return false;
    }
    auto screen = PSClassFactory::makeController(*principal);
    auto* list = runtime::dynamicCast<PSListController>(screen);
    if (!list) {
        foundation::NSLog("bundle %@ names principal class %@, which is not a preference list", bundlePath, *principal);
        showCannotOpen(entry.name());
        return false;
    }
    list->setBundle(bundle.get());
    list->setRootController(root);
    list->setParentController(this);
    if (!list->initForContentSize(contentSize())) {
        showCannotOpen(entry.name());
        return false;
    }
    list->setSpecifier(&entry);
    root->pushViewController(*list, true);
    return true;
}

}
