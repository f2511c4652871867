#pragma once

#include <foundation/Forward.h>
#include <runtime/RefPtr.h>

namespace tweak {

// The companion's data file as the add-on last read it. The quick killer looks up every running
// application in it while SpringBoard's main thread waits, and the file holds a record for every
// application the companion ever saw: it is parsed again only when the file on disk is another or
// has changed (device, inode, size, modification and change times), so every lookup still sees
// what the file holds.
class CompanionData {
public:
    CompanionData() = delete;

    // The file's root dictionary; nil when there is no file or it does not read as a dictionary.
    static runtime::RefPtr<foundation::NSDictionary> contents();
};

}
