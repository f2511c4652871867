#include <foundation/NSBundle.h>

#include <foundation/NSDictionary.h>
#include <foundation/NSFileManager.h>
#include <foundation/NSString.h>

#include <map>

namespace foundation {

TORVANE_DEFINE_CLASS(NSBundle)

NSBundle& NSBundle::mainBundle()
{
    static NSBundle* bundle = [] {
        auto* main = new NSBundle(std::string());
        main->m_identifierKnown = true; // only the host knows it
        return main;
    }();
    return *bundle;
}

static std::string withoutTrailingSlashes(std::string_view path)
{
    std::string trimmed(path);
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    return trimmed;
}

runtime::RefPtr<NSBundle> NSBundle::bundleWithPath(std::string_view path)
{
    std::string key = withoutTrailingSlashes(path);
    bool isDirectory = false;
    if (key.empty() || !NSFileManager::defaultManager().fileExistsAtPathIsDirectory(key, &isDirectory) || !isDirectory)
        return nullptr;
    // Bundles live for the process, as loaded bundles do on the device.
    static std::map<std::string, NSBundle*>* bundles = new std::map<std::string, NSBundle*>;
    auto [it, inserted] = bundles->try_emplace(key, nullptr);
    if (inserted)
        it->second = new NSBundle(key);
    return it->second;
}

const std::string& NSBundle::bundleIdentifier() const
{
    if (!m_identifierKnown) {
        m_identifierKnown = true;
        if (auto info = NSDictionary::dictionaryWithContentsOfFile(m_path + "/Info.plist")) {
            if (auto identifier = info->stringForKey("CFBundleIdentifier"))
                m_identifier = identifier->string();
        }
    }
    return m_identifier;
}

std::string NSBundle::pathForResource(std::string_view name, std::string_view type) const
{
    if (m_path.empty() || name.empty())
        return {};
    std::string candidate = m_path + "/" + std::string(name);
    if (!type.empty()) {
        if (type.front() != '.')
            candidate += '.';
        candidate += type;
    }
    // Any item counts, folders too (a resource may itself be a bundle).
    if (!NSFileManager::defaultManager().fileExistsAtPath(candidate))
        return {};
    return candidate;
}

}
