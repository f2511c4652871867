#pragma once

namespace sim::driver {

// The release of Torvane this simulator plays (the add-on logs the same number when it loads).
inline constexpr char torvaneVersion[] = "1.2.1";

}
