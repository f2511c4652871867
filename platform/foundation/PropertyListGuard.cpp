#include <foundation/PropertyListGuard.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace foundation {

namespace {

// Reads a big-endian unsigned integer of 1-8 bytes.
uint64_t readBigEndian(const uint8_t* bytes, unsigned size)
{
    uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

// Checks the graph of a binary property list ("bplist00"): header, objects, offset table and
// the 32-byte trailer (6 unused bytes, offset size, reference size, object count, top object,
// offset-table start).
class BinaryWalk {
public:
    BinaryWalk(std::span<const uint8_t> bytes, unsigned maximumDepth, size_t maximumNodes)
        : m_bytes(bytes)
        , m_maximumDepth(maximumDepth)
        , m_maximumNodes(maximumNodes)
    {
    }

    bool run()
    {
        constexpr size_t headerSize = 8, trailerSize = 32;
        if (m_bytes.size() < headerSize + 1 + 1 + trailerSize)
            return false;
        if (std::memcmp(m_bytes.data(), "bplist00", headerSize) != 0)
            return false;
        const uint8_t* trailer = m_bytes.data() + m_bytes.size() - trailerSize;
        m_offsetSize = trailer[6];
        m_referenceSize = trailer[7];
        const uint64_t objectCount = readBigEndian(trailer + 8, 8);
        const uint64_t topObject = readBigEndian(trailer + 16, 8);
        const uint64_t tableStart = readBigEndian(trailer + 24, 8);
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_referenceSize < 1 || m_referenceSize > 8)
            return false;
        const uint64_t trailerStart = m_bytes.size() - trailerSize;
        // Every object takes at least one byte between the header and the offset table.
        if (tableStart <= headerSize || tableStart >= trailerStart)
            return false;
        if (objectCount == 0 || objectCount > tableStart - headerSize)
            return false;
        if (objectCount > (trailerStart - tableStart) / m_offsetSize)
            return false;
        if (topObject >= objectCount)
            return false;
        m_tableStart = static_cast<size_t>(tableStart);
        m_offsets.resize(static_cast<size_t>(objectCount));
        for (size_t i = 0; i < m_offsets.size(); ++i) {
            const uint64_t offset = readBigEndian(m_bytes.data() + m_tableStart + i * m_offsetSize, m_offsetSize);
            if (offset < headerSize || offset >= tableStart)
                return false;
            m_offsets[i] = static_cast<size_t>(offset);
        }
        m_state.assign(m_offsets.size(), State::Unvisited);
        m_height.assign(m_offsets.size(), 0);
        m_nodes.assign(m_offsets.size(), 0);
        size_t nodes = 0;
        return visit(static_cast<size_t>(topObject), 0, nodes) && nodes <= m_maximumNodes;
    }

private:
    enum class State : uint8_t { Unvisited, InProgress, Done };

    // The object's marker and where its contents start.
    struct Header {
        uint8_t type;
        uint64_t count; // bytes, units or elements, by type
        size_t contents;
    };

    bool readHeader(size_t offset, Header& header) const
    {
        const uint8_t marker = m_bytes[offset];
        header.type = marker >> 4;
        header.count = marker & 0x0F;
        header.contents = offset + 1;
        const bool sized = header.type == 0x4 || header.type == 0x5 || header.type == 0x6 || header.type == 0xA
            || header.type == 0xC || header.type == 0xD;
        if (sized && header.count == 0x0F) {
            // The count follows as an integer object: marker 0x1n, then 2^n bytes.
            if (header.contents >= m_tableStart)
                return false;
            const uint8_t countMarker = m_bytes[header.contents];
            if ((countMarker >> 4) != 0x1 || (countMarker & 0x0F) > 3)
                return false;
            const unsigned size = 1u << (countMarker & 0x0F);
            if (header.contents + 1 + size > m_tableStart)
                return false;
            header.count = readBigEndian(m_bytes.data() + header.contents + 1, size);
            header.contents += 1 + size;
        }
        return true;
    }

    // Bytes from `start` to the offset table: the most any object's contents may take.
    uint64_t room(size_t start) const { return start <= m_tableStart ? m_tableStart - start : 0; }

    bool isStringObject(size_t index) const
    {
        const uint8_t type = m_bytes[m_offsets[index]] >> 4;
        return type == 0x5 || type == 0x6;
    }

    // libplist 2.2 cuts string values at a NUL character and asserts (aborting the process) on a
    // key that holds one, so text with NUL characters is refused outright.
    bool holdsNUL(const Header& header, unsigned unitSize) const
    {
        for (uint64_t i = 0; i < header.count; ++i) {
            const uint8_t* unit = m_bytes.data() + header.contents + i * unitSize;
            if (unit[0] == 0 && (unitSize == 1 || unit[1] == 0))
                return true;
        }
        return false;
    }

    bool readReference(size_t at, size_t& index) const
    {
        const uint64_t reference = readBigEndian(m_bytes.data() + at, m_referenceSize);
        if (reference >= m_offsets.size())
            return false;
        index = static_cast<size_t>(reference);
        return true;
    }

    // Checks object `index` reached at container nesting `depth`, and adds the number of nodes
    // its expanded tree has to `nodes`.
    bool visit(size_t index, unsigned depth, size_t& nodes)
    {
        if (m_state[index] == State::InProgress)
            return false; // contains itself
        if (m_state[index] == State::Done) {
            if (depth + m_height[index] > m_maximumDepth)
                return false;
            nodes += m_nodes[index];
            return nodes <= m_maximumNodes;
        }
        Header header;
        if (!readHeader(m_offsets[index], header))
            return false;
        const uint64_t available = room(header.contents);
        size_t ownNodes = 1;
        unsigned height = 0;
        switch (header.type) {
        case 0x0: // booleans only: null and fill have no property-list value
            if (header.count != 0x8 && header.count != 0x9)
                return false;
            break;
        case 0x1: // integer of 2^n bytes, up to 16
            if (header.count > 4 || (uint64_t(1) << header.count) > available)
                return false;
            break;
        case 0x2: // real of 4 or 8 bytes
            if ((header.count != 2 && header.count != 3) || (uint64_t(1) << header.count) > available)
                return false;
            break;
        case 0x3: { // date: an 8-byte real, seconds from 2001
            if (header.count != 3 || 8 > available)
                return false;
            // The parser converts it to 32-bit seconds without a range check.
            const uint64_t bits = readBigEndian(m_bytes.data() + header.contents, 8);
            double seconds;
            std::memcpy(&seconds, &bits, sizeof seconds);
            if (!(seconds > -2147483649.0 && seconds < 2147483648.0))
                return false;
            break;
        }
        case 0x4: // data
            if (header.count > available)
                return false;
            break;
        case 0x5: // ASCII string
            if (header.count > available || holdsNUL(header, 1))
                return false;
            break;
        case 0x6: // UTF-16 string, count in units
            if (header.count > available / 2 || holdsNUL(header, 2))
                return false;
            break;
        case 0x8: // UID of n+1 bytes
            if (header.count + 1 > available)
                return false;
            break;
        case 0xA: // array
        case 0xC: // set
        case 0xD: { // dictionary: keys, then values
            if (depth + 1 > m_maximumDepth)
                return false;
            const uint64_t references = header.type == 0xD ? 2 : 1;
            if (header.count > available / m_referenceSize / references)
                return false;
            m_state[index] = State::InProgress;
            const size_t total = static_cast<size_t>(header.count * references);
            for (size_t i = 0; i < total; ++i) {
                size_t child;
                if (!readReference(header.contents + i * m_referenceSize, child))
                    return false;
                if (header.type == 0xD && i < header.count && !isStringObject(child))
                    return false;
                size_t childNodes = 0;
                if (!visit(child, depth + 1, childNodes))
                    return false;
                ownNodes += childNodes;
                if (ownNodes > m_maximumNodes)
                    return false;
                height = std::max(height, 1 + m_height[child]);
            }
            height = std::max(height, 1u);
            break;
        }
        default:
            return false;
        }
        m_state[index] = State::Done;
        m_height[index] = height;
        m_nodes[index] = ownNodes;
        nodes += ownNodes;
        return nodes <= m_maximumNodes;
    }

    std::span<const uint8_t> m_bytes;
    unsigned m_maximumDepth;
    size_t m_maximumNodes;
    unsigned m_offsetSize { 0 };
    unsigned m_referenceSize { 0 };
    size_t m_tableStart { 0 };
    std::vector<size_t> m_offsets;
    std::vector<State> m_state;
    std::vector<unsigned> m_height; // container levels at and below the object
    std::vector<size_t> m_nodes;
};

}

bool PropertyListGuard::isAcceptableBinary(std::span<const uint8_t> bytes, unsigned maximumDepth, size_t maximumNodes)
{
    return BinaryWalk(bytes, maximumDepth, maximumNodes).run();
}

bool PropertyListGuard::isAcceptableXML(std::span<const uint8_t> bytes, unsigned maximumDepth)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    // XML has no NUL character; the parser would keep one inside text, and a key holding it
    // makes libplist 2.2 assert.
    if (text.find('\0') != std::string_view::npos)
        return false;
    // Skips to just past `terminator`; false when it never comes.
    auto skipPast = [&](size_t& i, std::string_view terminator) {
        const size_t found = text.find(terminator, i);
        if (found == std::string_view::npos)
            return false;
        i = found + terminator.size();
        return true;
    };
    unsigned depth = 0;
    size_t i = 0;
    while (true) {
        i = text.find('<', i);
        if (i == std::string_view::npos)
            return depth == 0;
        const std::string_view rest = text.substr(i);
        if (rest.starts_with("<?")) {
            if (!skipPast(i, "?>"))
                return false;
        } else if (rest.starts_with("<!--")) {
            i += 4;
            if (!skipPast(i, "-->"))
                return false;
        } else if (rest.starts_with("<![CDATA[")) {
            if (!skipPast(i, "]]>"))
                return false;
        } else if (rest.starts_with("<!")) {
            // A declaration such as DOCTYPE, possibly with an internal subset in brackets.
            const size_t close = text.find('>', i);
            const size_t bracket = text.find('[', i);
            if (bracket != std::string_view::npos && (close == std::string_view::npos || bracket < close)) {
                if (!skipPast(i, "]"))
                    return false;
            }
            if (!skipPast(i, ">"))
                return false;
        } else if (rest.starts_with("</")) {
            if (depth == 0)
                return false;
            --depth;
            if (!skipPast(i, ">"))
                return false;
        } else {
            // A start tag; attribute values may hold '>' inside quotes.
            size_t j = i + 1;
            char quote = 0;
            for (; j < text.size(); ++j) {
                const char c = text[j];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                }
            }
            if (j >= text.size())
                return false;
            if (text[j - 1] != '/') {
                if (++depth > maximumDepth)
                    return false;
            }
            i = j + 1;
        }
    }
}

}
