#include <foundation/NSData.h>
#include <foundation/WholeFile.h>

#include <algorithm>
#include <functional>
#include <string_view>

namespace foundation {

using runtime::Ref;
using runtime::RefPtr;

TORVANE_DEFINE_CLASS(NSData)

Ref<NSData> NSData::create(std::vector<uint8_t> bytes)
{
    return adoptRef(*new NSData(std::move(bytes)));
}

Ref<NSData> NSData::create(const void* bytes, size_t length)
{
    const auto* begin = static_cast<const uint8_t*>(bytes);
    return create(length ? std::vector<uint8_t>(begin, begin + length) : std::vector<uint8_t>());
}

RefPtr<NSData> NSData::dataWithContentsOfFile(std::string_view path)
{
    auto bytes = WholeFile::read(path, maximumFileSize);
    if (!bytes)
        return nullptr;
    return create(std::move(*bytes));
}

bool NSData::writeToFile(std::string_view path, bool atomically) const
{
    return WholeFile::write(path, m_bytes, atomically ? WholeFile::Write::Atomically : WholeFile::Write::InPlace);
}

std::string NSData::description() const
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text = "<";
    text.reserve(m_bytes.size() * 2 + m_bytes.size() / 4 + 2);
    for (size_t i = 0; i < m_bytes.size(); ++i) {
        if (i && i % 4 == 0)
            text += ' ';
        text += digits[m_bytes[i] >> 4];
        text += digits[m_bytes[i] & 0xF];
    }
    text += '>';
    return text;
}

bool NSData::isEqual(const runtime::Object* other) const
{
    auto* data = runtime::dynamicCast<NSData>(other);
    return data && data->m_bytes == m_bytes;
}

size_t NSData::hash() const
{
    // Like Foundation, only the first bytes take part: hashing stays cheap for large data.
    const size_t length = std::min<size_t>(m_bytes.size(), 80);
    return std::hash<std::string_view>()(std::string_view(reinterpret_cast<const char*>(m_bytes.data()), length))
        ^ m_bytes.size();
}

}
