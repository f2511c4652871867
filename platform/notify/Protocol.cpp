#include <notify/Protocol.h>

namespace notify::protocol {

bool isValidName(std::string_view name)
{
    return !name.empty() && name.size() <= maxNameLength && name.find('\n') == std::string_view::npos
        && name.find('\0') == std::string_view::npos;
}

Line parseLine(std::string_view line)
{
    size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return { line, {} };
    return { line.substr(0, space), line.substr(space + 1) };
}

}
