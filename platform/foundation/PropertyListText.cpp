#include <foundation/NSArray.h>
#include <foundation/NSData.h>
#include <foundation/NSDictionary.h>
#include <foundation/NSNumber.h>
#include <foundation/NSSet.h>
#include <foundation/NSString.h>
#include <foundation/PropertyListText.h>
#include <foundation/UnicodeText.h>

#include <cstdio>

namespace foundation {

static bool needsQuotes(std::string_view text)
{
    if (text.empty())
        return true;
    for (char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
            || c == '_' || c == '.' || c == '$' || c == '/' || c == ':' || c == '-';
        if (!plain)
            return true;
    }
    return false;
}

static void appendUnitEscape(std::string& out, unsigned unit)
{
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\U%04x", unit);
    out += escape;
}

void PropertyListText::appendString(std::string& out, std::string_view text)
{
    if (!needsQuotes(text)) {
        out.append(text);
        return;
    }
    out += '"';
    for (size_t offset = 0; offset < text.size();) {
        const char32_t c = unicode::decodeNext(text, offset);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c >= 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
            } else if (c > 0xFFFF) {
                appendUnitEscape(out, 0xD800 + ((c - 0x10000) >> 10));
                appendUnitEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                appendUnitEscape(out, c);
            }
        }
    }
    out += '"';
}

static void appendArray(std::string& out, const NSArray::Storage& objects, unsigned level, const char* open, const char* close)
{
    PropertyListText::appendIndent(out, level);
    out += open;
    out += "\n";
    for (size_t i = 0; i < objects.size(); ++i) {
        PropertyListText::appendIndent(out, level + 1);
        PropertyListText::appendValue(out, objects[i].get(), level + 1);
        out += i + 1 < objects.size() ? ",\n" : "\n";
    }
    PropertyListText::appendIndent(out, level);
    out += close;
}

void PropertyListText::appendValue(std::string& out, const runtime::Object& object, unsigned level)
{
    if (auto* string = runtime::dynamicCast<NSString>(&object)) {
        appendString(out, string->string());
        return;
    }
    const bool collection = object.isKindOf<NSArray>() || object.isKindOf<NSDictionary>() || object.isKindOf<NSSet>();
    if (collection && level >= maximumLevel) {
        appendIndent(out, level);
        out += "...";
        return;
    }
    if (auto* array = runtime::dynamicCast<NSArray>(&object)) {
        appendArray(out, array->objects(), level, "(", ")");
        return;
    }
    if (auto* set = runtime::dynamicCast<NSSet>(&object)) {
        appendArray(out, NSArray::Storage(set->begin(), set->end()), level, "{(", ")}");
        return;
    }
    if (auto* dictionary = runtime::dynamicCast<NSDictionary>(&object)) {
        appendIndent(out, level);
        out += "{\n";
        for (const auto& [key, value] : *dictionary) {
            appendIndent(out, level + 1);
            appendString(out, key);
            out += " = ";
            appendValue(out, value.get(), level + 1);
            out += ";\n";
        }
        appendIndent(out, level);
        out += "}";
        return;
    }
    // Numbers and data print bare; any other object's text is quoted like a string.
    if (object.isKindOf<NSNumber>() || object.isKindOf<NSData>()) {
        out += object.description();
        return;
    }
    appendString(out, object.description());
}

}
