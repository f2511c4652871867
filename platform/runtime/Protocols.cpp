#include <runtime/Object.h>
#include <runtime/Protocols.h>

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <string>

namespace runtime {

namespace {
std::string readableName(const std::type_info& type)
{
    int status = 0;
    char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : type.name();
    std::free(demangled);
    return name;
}
}

void requireAdoptionIfImplemented(const Object& object, const ProtocolDescriptor& protocol)
{
    if (object.objcClass().conformsToProtocol(*protocol.type) || !protocol.isImplementedBy(&object))
        return;
    // Answering NO here would hide the mistake: every override of the protocol would go unsent.
    std::fprintf(stderr, "runtime: class %s implements %s but does not name it in TORVANE_ADOPTS\n", object.className().c_str(),
        readableName(*protocol.type).c_str());
    std::fflush(stderr);
    std::abort();
}

}
