#pragma once

// A length-limited canonical prefix code, as a dynamic deflate block describes it: code lengths
// from symbol frequencies, then codes assigned in symbol order and stored bit-reversed, since
// deflate packs bits from the least significant end. Internal to the graphics module.

#include <cstdint>
#include <span>
#include <vector>

namespace graphics {

class HuffmanCode {
public:
    // Lengths no longer than `maxBits` for the symbols that occur. A used symbol always gets a
    // code, and the code is always complete (a lone symbol is given a partner), which every
    // inflater accepts.
    HuffmanCode(std::span<const std::uint32_t> frequencies, unsigned maxBits);

    unsigned length(unsigned symbol) const { return m_lengths[symbol]; }
    std::uint32_t code(unsigned symbol) const { return m_codes[symbol]; }
    const std::vector<std::uint8_t>& lengths() const { return m_lengths; }

private:
    void assignLengths(std::span<const std::uint32_t> frequencies, unsigned maxBits);
    void assignCodes(unsigned maxBits);

    std::vector<std::uint8_t> m_lengths;
    std::vector<std::uint32_t> m_codes;
};

}
