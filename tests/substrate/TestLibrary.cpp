// A tiny add-on library for the loader's tests: its load-time constructor appends the file name it
// was loaded from to /var/log/loaded-libraries on the device, so a test sees which copies loaded
// and in what order.
#include <foundation/DeviceRoot.h>

#include <cstdio>
#include <dlfcn.h>
#include <string>

namespace {

__attribute__((constructor)) void recordLoad()
{
    Dl_info info {};
    if (!::dladdr(reinterpret_cast<void*>(&recordLoad), &info) || !info.dli_fname)
        return;
    std::string path = info.dli_fname;
    std::string name = path.substr(path.find_last_of('/') + 1);
    auto record = foundation::DeviceRoot::resolve("/var/log/loaded-libraries");
    if (!record)
        return;
    if (FILE* file = std::fopen(record->c_str(), "a")) {
        std::fprintf(file, "%s\n", name.c_str());
        std::fclose(file);
    }
}

}
