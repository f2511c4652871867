#pragma once

// The two process-wide name caches of the colour toolkit (name -> colour, alpha 1), one per name
// database. Each is built once, on first use, under its own lock, and never changes or goes away
// afterwards, so what namedColors() hands out stays valid and may be read from any thread.

#include <runtime/Ref.h>
#include <runtime/RefPtr.h>
#include <uikit/UIColor.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace tweak::toolkit {

using NamedColorDictionary = std::map<std::string, runtime::Ref<uikit::UIColor>, std::less<>>;

const NamedColorDictionary& namedColors();
const NamedColorDictionary& namedCrayons();

// Build one cache. They are called by namedColors() / namedCrayons() under the cache's lock; a
// cache that is already built raises ToolkitAssertionFailure, as does a database with an entry
// that has no '#'.
void populateColorNameCache();
void populateCrayolaNameCache();

}
