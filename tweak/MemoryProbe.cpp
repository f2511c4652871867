#include "MemoryProbe.h"

#include <foundation/Format.h>
#include <foundation/NSString.h>

#include <cstdio>

namespace tweak {

std::string MemoryProbe::command(int pid, std::string_view source)
{
    return foundation::format("%s | gawk '$1 == %i {print $2}'", source, pid);
}

std::optional<std::string> MemoryProbe::run(const std::string& command)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string output;
    char buffer[2048];
    // A line longer than the buffer arrives in several pieces; they join up again here. The loop
    // ends at end of file and also on a read error, which would otherwise never reach end of file.
    while (std::fgets(buffer, sizeof buffer, pipe))
        output.append(buffer);
    ::pclose(pipe);
    return output;
}

std::string MemoryProbe::megabytesFromOutput(std::string_view output)
{
    int kilobytes = foundation::NSString::create(std::string(output))->intValue();
    float megabytes = static_cast<float>(kilobytes) / 1024;
    return foundation::format("%f", megabytes);
}

namespace {

std::string& processTable()
{
    static auto* source = new std::string(MemoryProbe::processTableCommand);
    return *source;
}

}

void MemoryProbe::setProcessTableCommand(std::string command)
{
    processTable() = command.empty() ? std::string(processTableCommand) : std::move(command);
}

std::string MemoryProbe::measure(int pid)
{
    auto output = run(command(pid, processTable()));
    if (!output)
        return "0.000000";
    return megabytesFromOutput(*output);
}

}
