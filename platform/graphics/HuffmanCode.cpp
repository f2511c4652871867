#include "HuffmanCode.h"

#include <algorithm>
#include <numeric>

namespace graphics {

HuffmanCode::HuffmanCode(std::span<const std::uint32_t> frequencies, unsigned maxBits)
    : m_lengths(frequencies.size(), 0)
    , m_codes(frequencies.size(), 0)
{
    assignLengths(frequencies, maxBits);
    assignCodes(maxBits);
}

void HuffmanCode::assignLengths(std::span<const std::uint32_t> frequencies, unsigned maxBits)
{
    std::vector<unsigned> used;
    for (unsigned symbol = 0; symbol < frequencies.size(); ++symbol) {
        if (frequencies[symbol])
            used.push_back(symbol);
    }
    if (used.empty())
        return;
    if (used.size() == 1) {
        m_lengths[used[0]] = 1;
        if (frequencies.size() > 1)
            m_lengths[used[0] == 0 ? 1 : 0] = 1;
        return;
    }
    // Rarest first; equal frequencies in symbol order, so the code is the same on every run.
    std::stable_sort(used.begin(), used.end(), [&](unsigned a, unsigned b) { return frequencies[a] < frequencies[b]; });

    // Huffman's tree by the two-queue method: leaves in frequency order, and the internal nodes,
    // which are made in nondecreasing weight order. Each node remembers its parent.
    const size_t leaves = used.size();
    std::vector<std::uint64_t> weight(2 * leaves - 1);
    std::vector<size_t> parent(2 * leaves - 1, 0);
    for (size_t i = 0; i < leaves; ++i)
        weight[i] = frequencies[used[i]];
    size_t nextLeaf = 0, nextInternal = leaves, made = leaves;
    auto takeLightest = [&] {
        if (nextLeaf < leaves && (nextInternal == made || weight[nextLeaf] <= weight[nextInternal]))
            return nextLeaf++;
        return nextInternal++;
    };
    for (; made < 2 * leaves - 1; ++made) {
        size_t a = takeLightest();
        size_t b = takeLightest();
        weight[made] = weight[a] + weight[b];
        parent[a] = parent[b] = made;
    }
    // Depths, root (the last node) first.
    std::vector<unsigned> depth(2 * leaves - 1, 0);
    for (size_t node = 2 * leaves - 2; node-- > 0;)
        depth[node] = depth[parent[node]] + 1;

    // How many codes there are of each length, the too-long ones folded into the longest allowed;
    // then shorter codes are split until the lengths fit exactly (Kraft's sum is one again).
    std::vector<std::uint32_t> count(std::max<unsigned>(maxBits, *std::max_element(depth.begin(), depth.begin() + leaves)) + 1, 0);
    for (size_t i = 0; i < leaves; ++i)
        ++count[std::min(depth[i], maxBits)];
    std::uint64_t total = 0;
    for (unsigned bits = 1; bits <= maxBits; ++bits)
        total += static_cast<std::uint64_t>(count[bits]) << (maxBits - bits);
    while (total > (std::uint64_t { 1 } << maxBits)) {
        --count[maxBits];
        for (unsigned bits = maxBits - 1; bits > 0; --bits) {
            if (count[bits]) {
                --count[bits];
                count[bits + 1] += 2;
                break;
            }
        }
        --total;
    }
    // The most frequent symbols take the shortest codes.
    size_t next = leaves;
    for (unsigned bits = 1; bits <= maxBits; ++bits) {
        for (std::uint32_t n = 0; n < count[bits]; ++n)
            m_lengths[used[--next]] = static_cast<std::uint8_t>(bits);
    }
}

void HuffmanCode::assignCodes(unsigned maxBits)
{
    std::vector<std::uint32_t> count(maxBits + 2, 0);
    for (auto length : m_lengths)
        ++count[length];
    count[0] = 0;
    std::vector<std::uint32_t> nextCode(maxBits + 2, 0);
    std::uint32_t code = 0;
    for (unsigned bits = 1; bits <= maxBits; ++bits) {
        code = (code + count[bits - 1]) << 1;
        nextCode[bits] = code;
    }
    for (size_t symbol = 0; symbol < m_lengths.size(); ++symbol) {
        unsigned length = m_lengths[symbol];
        if (!length)
            continue;
        std::uint32_t value = nextCode[length]++;
        std::uint32_t reversed = 0;
        for (unsigned bit = 0; bit < length; ++bit)
            reversed |= ((value >> bit) & 1u) << (length - 1 - bit);
        m_codes[symbol] = reversed;
    }
}

}
