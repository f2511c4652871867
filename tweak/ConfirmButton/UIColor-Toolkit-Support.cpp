#include "UIColor-Toolkit-Support.h"

#include "ColorNameDatabases.h"
#include "ColorTextScanner.h"
#include "ToolkitAssertionFailure.h"
#include "UIColor-Toolkit.h"

#include <mutex>

namespace tweak::toolkit {

namespace {

// The locks are constant-initialised, so they exist before the library's code can run on any
// thread. The caches are deliberately never freed: callers keep references into them.
std::mutex s_colorNameCacheLock;
std::mutex s_crayolaNameCacheLock;
const NamedColorDictionary* s_colorNameCache = nullptr;
const NamedColorDictionary* s_crayolaNameCache = nullptr;

const NamedColorDictionary* buildNameCache(std::string_view database, std::string_view operation, std::string_view malformedMessage)
{
    NamedColorDictionary entries;
    size_t position = 0; // the leading comma
    while (true) {
        ++position;
        size_t hashMark = database.find('#', position);
        assertToolkitCondition(hashMark != std::string_view::npos, operation, malformedMessage);
        std::string name(database.substr(position, hashMark - position));
        ColorTextScanner scanner(database.substr(hashMark + 1));
        std::optional<uint32_t> hex = scanner.scanHexInt();
        if (!hex)
            break;
        entries.insert_or_assign(std::move(name), colorWithRGBHex(*hex));
        position = database.find(',', hashMark + 1 + scanner.position());
        if (position == std::string_view::npos)
            break;
    }
    return new NamedColorDictionary(std::move(entries));
}

}

void populateColorNameCache()
{
    assertToolkitCondition(!s_colorNameCache, "+populateColorNameCache",
        "+pouplateColorNameCache was called when colorNameCache was not nil");
    s_colorNameCache = buildNameCache(colorNameDB(), "+populateColorNameCache", "Malformed colorNameDB");
}

void populateCrayolaNameCache()
{
    assertToolkitCondition(!s_crayolaNameCache, "+populateCrayolaNameCache",
        "+pouplateCrayolaNameCache was called when crayolaNameCache was not nil");
    s_crayolaNameCache = buildNameCache(crayolaNameDB(), "+populateCrayolaNameCache", "Malformed crayolaNameDB");
}

const NamedColorDictionary& namedColors()
{
    std::lock_guard lock(s_colorNameCacheLock);
    if (!s_colorNameCache)
        populateColorNameCache();
    return *s_colorNameCache;
}

const NamedColorDictionary& namedCrayons()
{
    std::lock_guard lock(s_crayolaNameCacheLock);
    if (!s_crayolaNameCache)
        populateCrayolaNameCache();
    return *s_crayolaNameCache;
}

}
