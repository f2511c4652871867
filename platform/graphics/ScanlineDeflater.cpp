#include "ScanlineDeflater.h"

#include "HuffmanCode.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace graphics {

namespace {

constexpr size_t minimumMatch = 3;
constexpr size_t maximumMatch = 258;
constexpr size_t window = 32768;
constexpr size_t wordSlack = 8;
// A block ends after this many symbols (or the row that passes it), so its codes follow the
// picture and the symbols stay in cache.
constexpr size_t blockTokens = 1 << 15;
constexpr std::uint32_t matchFlag = 1u << 31;
constexpr unsigned endOfBlock = 256;
constexpr unsigned maximumCodeBits = 15;
constexpr unsigned maximumCodeLengthBits = 7;

constexpr std::uint16_t lengthBase[29] { 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83, 99,
    115, 131, 163, 195, 227, 258 };
constexpr std::uint8_t lengthExtraBits[29] { 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0 };
constexpr std::uint16_t distanceBase[30] { 1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769, 1025,
    1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577 };
// The order in which a dynamic block gives the lengths of the code-length code.
constexpr std::uint8_t codeLengthOrder[19] { 16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15 };

// The length symbol (less 257) of every match length.
const std::array<std::uint8_t, maximumMatch + 1>& lengthSlots()
{
    static const auto table = [] {
        std::array<std::uint8_t, maximumMatch + 1> slots {};
        for (unsigned slot = 0; slot < 29; ++slot) {
            unsigned end = slot == 28 ? maximumMatch + 1 : lengthBase[slot + 1];
            for (unsigned length = lengthBase[slot]; length < end && length <= maximumMatch; ++length)
                slots[length] = static_cast<std::uint8_t>(slot);
        }
        // 258 has a symbol of its own, not 227's with all extra bits set.
        slots[maximumMatch] = 28;
        return slots;
    }();
    return table;
}

unsigned distanceSlot(size_t distance)
{
    if (distance <= 4)
        return static_cast<unsigned>(distance - 1);
    auto value = static_cast<std::uint32_t>(distance - 1);
    unsigned highBit = 31 - static_cast<unsigned>(__builtin_clz(value));
    return 2 * highBit + ((value >> (highBit - 1)) & 1);
}

// How many bytes from `a` on equal those from `b` on, at most `limit`. Reads whole words, which
// may go up to 7 bytes past the limit.
size_t matchLength(const std::uint8_t* a, const std::uint8_t* b, size_t limit)
{
    size_t length = 0;
    while (length < limit) {
        std::uint64_t x, y;
        std::memcpy(&x, a + length, 8);
        std::memcpy(&y, b + length, 8);
        if (std::uint64_t difference = x ^ y)
            return std::min(limit, length + static_cast<size_t>(__builtin_ctzll(difference)) / 8);
        length += 8;
    }
    return limit;
}

}

ScanlineDeflater::ScanlineDeflater(size_t rowBytes)
    : m_rowBytes(rowBytes)
    , m_rows { std::vector<std::uint8_t>(rowBytes + wordSlack), std::vector<std::uint8_t>(rowBytes + wordSlack) }
    , m_tokens(std::make_unique_for_overwrite<std::uint32_t[]>(blockTokens + rowBytes))
{
}

void ScanlineDeflater::rememberRow()
{
    m_hasRowAbove = true;
    m_current ^= 1;
}

void ScanlineDeflater::addRow()
{
    const std::uint8_t* current = m_rows[m_current].data();
    const std::uint8_t* above = m_hasRowAbove && m_rowBytes <= window ? m_rows[m_current ^ 1].data() : nullptr;
    m_adler = static_cast<std::uint32_t>(adler32_z(m_adler, current, m_rowBytes));
    m_length += m_rowBytes;
    tokenizeRow(current, above);
    if (m_tokenCount >= blockTokens)
        writeBlock(false);
    rememberRow();
}

void ScanlineDeflater::addLiteral(std::uint8_t byte)
{
    m_tokens[m_tokenCount++] = byte;
    ++m_literalLengthFrequencies[byte];
}

void ScanlineDeflater::addMatch(size_t length, size_t distance)
{
    m_tokens[m_tokenCount++] = matchFlag | static_cast<std::uint32_t>(length << 16) | static_cast<std::uint32_t>(distance - 1);
    ++m_literalLengthFrequencies[257 + lengthSlots()[length]];
    ++m_distanceFrequencies[distanceSlot(distance)];
}

void ScanlineDeflater::tokenizeRow(const std::uint8_t* row, const std::uint8_t* above)
{
    const size_t end = m_rowBytes;
    if (above && std::memcmp(row, above, end) == 0) {
        // The row above again: matches a row back, the last two sharing out what a whole
        // match would leave short.
        for (size_t left = end; left >= minimumMatch;) {
            size_t length = std::min(left, maximumMatch);
            if (left - length > 0 && left - length < minimumMatch)
                length = left - minimumMatch;
            addMatch(length, m_rowBytes);
            left -= length;
            if (left < minimumMatch) {
                for (size_t i = end - left; i < end; ++i)
                    addLiteral(row[i]);
                break;
            }
        }
        if (end < minimumMatch) {
            for (size_t i = 0; i < end; ++i)
                addLiteral(row[i]);
        }
        return;
    }
    size_t i = 0;
    while (i < end) {
        const size_t limit = std::min(end - i, maximumMatch);
        if (limit >= minimumMatch) {
            if (i >= 1 && row[i] == row[i - 1]) {
                size_t length = matchLength(row + i, row + i - 1, limit);
                if (length >= minimumMatch) {
                    addMatch(length, 1);
                    i += length;
                    continue;
                }
            }
            if (i >= 4 && std::memcmp(row + i, row + i - 4, minimumMatch) == 0) {
                size_t length = matchLength(row + i, row + i - 4, limit);
                addMatch(length, 4);
                i += length;
                continue;
            }
            if (above && std::memcmp(row + i, above + i, minimumMatch) == 0) {
                size_t length = matchLength(row + i, above + i, limit);
                addMatch(length, m_rowBytes);
                i += length;
                continue;
            }
        }
        addLiteral(row[i]);
        ++i;
    }
}

void ScanlineDeflater::finish(End end)
{
    if (end == End::Final) {
        writeBlock(true);
        m_output.alignToByte();
        return;
    }
    if (m_tokenCount)
        writeBlock(false);
    // An empty stored block brings the stream to a byte boundary, as a zlib sync flush does.
    m_output.put(0, 3);
    m_output.alignToByte();
    m_output.put(0xffff0000u, 32);
}

void ScanlineDeflater::writeBlock(bool final)
{
    m_literalLengthFrequencies[endOfBlock] = 1;
    HuffmanCode literalLengths(m_literalLengthFrequencies, maximumCodeBits);
    HuffmanCode distances(m_distanceFrequencies, maximumCodeBits);
    size_t literalCount = 286;
    while (literalCount > 257 && !literalLengths.length(static_cast<unsigned>(literalCount - 1)))
        --literalCount;
    size_t distanceCount = 30;
    while (distanceCount > 1 && !distances.length(static_cast<unsigned>(distanceCount - 1)))
        --distanceCount;

    m_output.put(final ? 1 : 0, 1);
    m_output.put(2, 2);
    m_output.put(static_cast<std::uint32_t>(literalCount - 257), 5);
    m_output.put(static_cast<std::uint32_t>(distanceCount - 1), 5);
    writeCodeLengths(literalLengths.lengths(), literalCount, distances.lengths(), distanceCount);

    const auto& slots = lengthSlots();
    for (size_t t = 0; t < m_tokenCount; ++t) {
        std::uint32_t token = m_tokens[t];
        if (!(token & matchFlag)) {
            m_output.put(literalLengths.code(token), literalLengths.length(token));
            continue;
        }
        size_t length = (token >> 16) & 0x1ff;
        size_t distance = (token & 0xffff) + 1;
        unsigned slot = slots[length];
        unsigned symbol = 257 + slot;
        unsigned symbolBits = literalLengths.length(symbol);
        m_output.put(literalLengths.code(symbol) | static_cast<std::uint32_t>(length - lengthBase[slot]) << symbolBits,
            symbolBits + lengthExtraBits[slot]);
        unsigned distanceCode = distanceSlot(distance);
        unsigned distanceBits = distances.length(distanceCode);
        unsigned extraBits = distanceCode < 4 ? 0 : distanceCode / 2 - 1;
        m_output.put(distances.code(distanceCode) | static_cast<std::uint32_t>(distance - distanceBase[distanceCode]) << distanceBits,
            distanceBits + extraBits);
    }
    m_output.put(literalLengths.code(endOfBlock), literalLengths.length(endOfBlock));

    m_tokenCount = 0;
    m_literalLengthFrequencies.fill(0);
    m_distanceFrequencies.fill(0);
}

// The two codes' lengths as one sequence, runs of zeros and repeats shortened with the
// code-length code's symbols 16 (repeat the last 3-6 times), 17 (3-10 zeros) and 18 (11-138 zeros).
void ScanlineDeflater::writeCodeLengths(const std::vector<std::uint8_t>& literalLengths, size_t literalCount,
    const std::vector<std::uint8_t>& distanceLengths, size_t distanceCount)
{
    std::vector<std::uint8_t> lengths(literalLengths.begin(), literalLengths.begin() + static_cast<std::ptrdiff_t>(literalCount));
    lengths.insert(lengths.end(), distanceLengths.begin(), distanceLengths.begin() + static_cast<std::ptrdiff_t>(distanceCount));

    struct Symbol {
        std::uint8_t symbol;
        std::uint8_t extra;
    };
    std::vector<Symbol> symbols;
    std::array<std::uint32_t, 19> frequencies {};
    for (size_t i = 0; i < lengths.size();) {
        std::uint8_t length = lengths[i];
        size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == length)
            ++run;
        if (length == 0 && run >= 3) {
            run = std::min<size_t>(run, 138);
            symbols.push_back(run >= 11 ? Symbol { 18, static_cast<std::uint8_t>(run - 11) } : Symbol { 17, static_cast<std::uint8_t>(run - 3) });
        } else if (length != 0 && run >= 4) {
            symbols.push_back({ length, 0 });
            run = 1 + std::min<size_t>(run - 1, 6);
            symbols.push_back({ 16, static_cast<std::uint8_t>(run - 1 - 3) });
        } else {
            run = 1;
            symbols.push_back({ length, 0 });
        }
        i += run;
    }
    for (auto [symbol, extra] : symbols)
        ++frequencies[symbol];

    HuffmanCode code(frequencies, maximumCodeLengthBits);
    size_t codeLengthCount = 19;
    while (codeLengthCount > 4 && !code.length(codeLengthOrder[codeLengthCount - 1]))
        --codeLengthCount;
    m_output.put(static_cast<std::uint32_t>(codeLengthCount - 4), 4);
    for (size_t i = 0; i < codeLengthCount; ++i)
        m_output.put(code.length(codeLengthOrder[i]), 3);
    for (auto [symbol, extra] : symbols) {
        m_output.put(code.code(symbol), code.length(symbol));
        if (symbol == 16)
            m_output.put(extra, 2);
        else if (symbol == 17)
            m_output.put(extra, 3);
        else if (symbol == 18)
            m_output.put(extra, 7);
    }
}

}
