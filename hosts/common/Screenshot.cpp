#include "Screenshot.h"

#include <sim/protocol/ControlError.h>

#include <cerrno>
#include <cstring>

namespace hosts {

sim::protocol::Json writeScreenshot(const graphics::CGImage& screen, const std::string& path)
{
    errno = 0;
    if (!graphics::CGImageWritePNGFile(screen, path))
        throw sim::protocol::ControlError("could not write " + path + (errno ? std::string(": ") + std::strerror(errno) : std::string()));
    return { { "path", path }, { "width", screen.width() }, { "height", screen.height() } };
}

}
