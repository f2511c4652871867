#include "Screenshot.h"

#include <sim/protocol/ControlError.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace hosts {

sim::protocol::Json writeScreenshot(const graphics::CGImage& screen, const std::string& path)
{
    auto bytes = graphics::CGImageCreatePNGData(screen);
    if (bytes.empty())
        throw sim::protocol::ControlError("could not encode the screen as PNG");
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw sim::protocol::ControlError("could not write " + path + (errno ? std::string(": ") + std::strerror(errno) : std::string()));
    return { { "path", path }, { "width", screen.width() }, { "height", screen.height() } };
}

}
