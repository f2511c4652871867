// One key merged into the default preferences file, as the settings pane writes each switch: the
// file read, the key put in, the whole file written to a temporary one and renamed over it, under
// the advisory lock. It runs on a real file system, so its figure moves with the disk.

#include "Benchmarks.h"

#include "BenchDevice.h"

#include <PreferencesFile.h>

#include <foundation/NSDictionary.h>
#include <foundation/NSString.h>

namespace bench {

void preferencesMerge(benchmark::State& state)
{
    // The add-on's first load writes the default file.
    BenchDevice device({ .applications = 4 });
    auto lower = foundation::NSDictionary::create({ { "OpacityValue", foundation::NSStr("0.80") } });
    auto higher = foundation::NSDictionary::create({ { "OpacityValue", foundation::NSStr("0.90") } });
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        torvane::PreferencesFile::writeDictToSave(flip ? lower.ptr() : higher.ptr());
    }
}

}
