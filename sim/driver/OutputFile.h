#pragma once

#include <filesystem>
#include <string_view>

namespace sim::driver {

// Writes a file the user named for output (dumps). A name that leads to the driver's own standard
// output (/dev/stdout, or the file standard output is redirected to) is written through that
// descriptor after the driver's buffered output, so it lands in order with the shell's answers
// instead of truncating them.
class OutputFile {
public:
    // False with errno set when it could not be written.
    static bool write(const std::filesystem::path&, std::string_view text);
};

}
