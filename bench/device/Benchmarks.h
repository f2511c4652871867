#pragma once

// The cases of torvane-bench, registered in order by its main.

#include <benchmark/benchmark.h>

namespace bench {

// Whether the add-on's hooks are in place in this process (they never go).
bool hooksInstalled();

void touchMovedHost(benchmark::State&);
void touchMovedHooked(benchmark::State&);
void stateChange(benchmark::State&);
void settingsReload(benchmark::State&);
void memoryProbe(benchmark::State&);
void popupBuild(benchmark::State&);
void renderHome(benchmark::State&);
void screenshot(benchmark::State&);
void preferencesMerge(benchmark::State&);

}
