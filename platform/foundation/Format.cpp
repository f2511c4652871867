#include <foundation/Format.h>

#include <algorithm>
#include <cstdio>

namespace foundation {

namespace {

// Prints one snprintf conversion, growing the buffer when needed.
template<typename T>
void appendPrintf(std::string& out, const std::string& directive, T value)
{
    char buffer[128];
    int written = std::snprintf(buffer, sizeof buffer, directive.c_str(), value);
    if (written < 0)
        return;
    if (static_cast<size_t>(written) < sizeof buffer) {
        out.append(buffer, written);
        return;
    }
    std::string large(static_cast<size_t>(written) + 1, '\0');
    std::snprintf(large.data(), large.size(), directive.c_str(), value);
    out.append(large.data(), written);
}

const char* kindName(const FormatArgument& argument)
{
    switch (argument.kind()) {
    case FormatArgument::Kind::Object:
        return "object";
    case FormatArgument::Kind::Signed:
    case FormatArgument::Kind::Unsigned:
        return "integer";
    case FormatArgument::Kind::Real:
        return "real";
    case FormatArgument::Kind::Text:
        return "text";
    }
    return "?";
}

// Pads `text` to the conversion's width (flags '-' left-aligns) and cuts it to its precision.
void appendPadded(std::string& out, std::string_view text, const std::string& flags, int width, int precision)
{
    if (precision >= 0 && static_cast<size_t>(precision) < text.size())
        text = text.substr(0, precision);
    const size_t padding = width > 0 && static_cast<size_t>(width) > text.size() ? width - text.size() : 0;
    const bool leftAlign = flags.find('-') != std::string::npos;
    if (!leftAlign)
        out.append(padding, ' ');
    out.append(text);
    if (leftAlign)
        out.append(padding, ' ');
}

uint64_t asUnsigned(const FormatArgument& argument)
{
    if (argument.kind() == FormatArgument::Kind::Unsigned)
        return argument.unsignedValue();
    const uint64_t value = static_cast<uint64_t>(argument.signedValue());
    if (argument.integerSize() >= 8)
        return value;
    return value & ((uint64_t(1) << (argument.integerSize() * 8)) - 1);
}

}

std::string formatWithArguments(std::string_view format, std::span<const FormatArgument> arguments)
{
    std::string out;
    out.reserve(format.size() + 16 * arguments.size());
    size_t nextArgument = 0;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        const size_t start = i++;
        // %[flags][width][.precision][length]conversion
        std::string flags;
        while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos)
            flags += format[i++];
        int width = 0;
        bool star = false;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9')
            width = std::min(width * 10 + (format[i++] - '0'), 4096);
        if (i < format.size() && format[i] == '*')
            star = true, ++i;
        int precision = -1;
        if (i < format.size() && format[i] == '.') {
            ++i;
            precision = 0;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9')
                precision = std::min(precision * 10 + (format[i++] - '0'), 4096);
            if (i < format.size() && format[i] == '*')
                star = true, ++i;
        }
        while (i < format.size() && std::string_view("hlqLzjt").find(format[i]) != std::string_view::npos)
            ++i;
        if (i >= format.size()) {
            // A lone '%' at the end is copied through.
            out.append(format.substr(start));
            break;
        }
        const char conversion = format[i++];
        if (conversion == '%') {
            out += '%';
            continue;
        }
        std::string placeholder = std::string("%!") + conversion;
        if (star) {
            out += "%!*(unsupported)";
            continue;
        }
        const std::string_view integerConversions = "diuxXoc";
        const std::string_view realConversions = "fFeEgGaA";
        const bool known = conversion == '@' || conversion == 's' || conversion == 'p'
            || integerConversions.find(conversion) != std::string_view::npos
            || realConversions.find(conversion) != std::string_view::npos;
        if (!known) {
            out += placeholder + "(unsupported)";
            continue;
        }
        if (nextArgument >= arguments.size()) {
            out += placeholder + "(missing)";
            continue;
        }
        const FormatArgument& argument = arguments[nextArgument++];
        using Kind = FormatArgument::Kind;
        // The snprintf directive we rebuild: flags, width, precision and a length matching our value.
        std::string directive = "%" + flags;
        if (width > 0)
            directive += std::to_string(width);
        if (precision >= 0)
            directive += "." + std::to_string(precision);

        if (conversion == '@') {
            if (argument.kind() == Kind::Object) {
                appendPadded(out, argument.object() ? argument.object()->description() : "(null)", flags, width, -1);
            } else {
                out += placeholder + "(" + kindName(argument) + ")";
            }
        } else if (conversion == 's') {
            if (argument.kind() == Kind::Text)
                appendPadded(out, argument.isNullText() ? "(null)" : argument.text(), flags, width, precision);
            else
                out += placeholder + "(" + kindName(argument) + ")";
        } else if (conversion == 'p') {
            if (argument.kind() == Kind::Object)
                appendPrintf(out, directive + "p", static_cast<const void*>(argument.object()));
            else
                out += placeholder + "(" + kindName(argument) + ")";
        } else if (integerConversions.find(conversion) != std::string_view::npos) {
            if (argument.kind() != Kind::Signed && argument.kind() != Kind::Unsigned) {
                out += placeholder + "(" + kindName(argument) + ")";
            } else if (conversion == 'd' || conversion == 'i') {
                const long long value = argument.kind() == Kind::Signed
                    ? static_cast<long long>(argument.signedValue())
                    : static_cast<long long>(argument.unsignedValue());
                appendPrintf(out, directive + "lld", value);
            } else if (conversion == 'c') {
                appendPrintf(out, directive + "c", static_cast<int>(static_cast<unsigned char>(asUnsigned(argument))));
            } else {
                appendPrintf(out, directive + "ll" + conversion, static_cast<unsigned long long>(asUnsigned(argument)));
            }
        } else {
            if (argument.kind() != Kind::Real)
                out += placeholder + "(" + kindName(argument) + ")";
            else
                appendPrintf(out, directive + conversion, argument.realValue());
        }
    }
    return out;
}

}
