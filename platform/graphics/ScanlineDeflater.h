#pragma once

// Deflate written for PNG scanlines of a user interface, many times a second. Each row is matched
// as a whole against the row above, and otherwise byte by byte against the byte before (runs of
// one colour, which the Sub filter turns into runs of zeros), the pixel before (horizontal
// gradients) and the same place in the row above. Blocks carry their own Huffman codes. A picture
// may be split into parts deflated side by side: each part but the last ends on a byte boundary,
// and may refer back to the rows of the part before. Internal to the graphics module.

#include "DeflateBitWriter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace graphics {

class ScanlineDeflater {
public:
    explicit ScanlineDeflater(size_t rowBytes);

    // Where the next row goes: fill rowBytes bytes, then add or remember the row.
    std::uint8_t* row() { return m_rows[m_current].data(); }
    // Deflates the filled row.
    void addRow();
    // Takes the filled row as the one before the first this part adds: it is in the stream
    // already, written by the part before.
    void rememberRow();

    enum class End { Final, ByteBoundary };
    void finish(End);

    const DeflateBitWriter& output() const { return m_output; }
    // The Adler-32 checksum and count of the rows added (not remembered).
    std::uint32_t adler() const { return m_adler; }
    std::uint64_t length() const { return m_length; }

private:
    void tokenizeRow(const std::uint8_t* row, const std::uint8_t* above);
    void addLiteral(std::uint8_t);
    void addMatch(size_t length, size_t distance);
    void writeBlock(bool final);
    void writeCodeLengths(const std::vector<std::uint8_t>& literalLengths, size_t literalCount,
        const std::vector<std::uint8_t>& distanceLengths, size_t distanceCount);

    const size_t m_rowBytes;
    // Two rows, with slack for comparisons that read a word at a time past the end.
    std::array<std::vector<std::uint8_t>, 2> m_rows;
    int m_current { 0 };
    bool m_hasRowAbove { false };

    // The current block's symbols: a literal byte, or a match (the top bit set, length and
    // distance - 1 below), and how often each Huffman symbol occurs.
    std::unique_ptr<std::uint32_t[]> m_tokens;
    size_t m_tokenCount { 0 };
    std::array<std::uint32_t, 286> m_literalLengthFrequencies {};
    std::array<std::uint32_t, 30> m_distanceFrequencies {};

    DeflateBitWriter m_output;
    std::uint32_t m_adler { 1 };
    std::uint64_t m_length { 0 };
};

}
