#include <uikit/NSCoding.h>

#include <map>
#include <string>

namespace uikit {

namespace {

std::map<std::string, ArchivableClasses::Entry, std::less<>>& table()
{
    // Filled by static registrations as libraries load; never torn down.
    static auto* entries = new std::map<std::string, ArchivableClasses::Entry, std::less<>>;
    return *entries;
}

}

bool ArchivableClasses::add(const runtime::Class& cls, Factory factory)
{
    table()[cls.name()] = { std::move(factory), nullptr };
    return true;
}

bool ArchivableClasses::addDecoder(const runtime::Class& cls, Decoder decoder)
{
    table()[cls.name()] = { nullptr, std::move(decoder) };
    return true;
}

const ArchivableClasses::Entry* ArchivableClasses::find(std::string_view className)
{
    auto& entries = table();
    auto it = entries.find(className);
    return it == entries.end() ? nullptr : &it->second;
}

}
