#pragma once

#include <runtime/Object.h>

#include <string>
#include <string_view>

namespace foundation {

// A folder of code and resources. Paths are device paths. "Not found" answers (nil in Foundation)
// are empty strings / null pointers here.
class NSBundle : public runtime::Object {
    TORVANE_OBJECT(NSBundle, runtime::Object)
public:
    // The running executable's bundle. The host process names it: its identifier
    // ("com.apple.springboard", "com.apple.Preferences") and, if it has one, its folder.
    static NSBundle& mainBundle();

    // The bundle at a device folder; nil when there is no such folder. The same path gives the
    // same bundle object each time, as in Foundation.
    static runtime::RefPtr<NSBundle> bundleWithPath(std::string_view path);

    const std::string& bundlePath() const { return m_path; }
    // Set by the host for the main bundle; for other bundles read from Info.plist's
    // CFBundleIdentifier when first asked. Empty when unknown.
    const std::string& bundleIdentifier() const;
    void setBundleIdentifier(std::string identifier) { m_identifier = std::move(identifier); m_identifierKnown = true; }
    void setBundlePath(std::string path) { m_path = std::move(path); }

    // "<bundle>/<name>.<type>" (or "<bundle>/<name>" when `type` is empty) if that file or folder
    // exists in the bundle's folder, else empty.
    std::string pathForResource(std::string_view name, std::string_view type) const;

private:
    explicit NSBundle(std::string path)
        : m_path(std::move(path))
    {
    }

    std::string m_path;
    mutable std::string m_identifier;
    mutable bool m_identifierKnown { false };
};

}
