#pragma once

// The bit stream of a deflate encoder: bits are packed from the least significant end of each
// byte, 32 at a time into a buffer that grows without being cleared first. Internal to the
// graphics module.

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace graphics {

class DeflateBitWriter {
public:
    // At most 32 bits at a time.
    void put(std::uint32_t bits, unsigned count)
    {
        m_pending |= static_cast<std::uint64_t>(bits) << m_pendingBits;
        m_pendingBits += count;
        if (m_pendingBits >= 32) {
            reserve(4);
            auto word = static_cast<std::uint32_t>(m_pending);
            for (int i = 0; i < 4; ++i)
                m_bytes[m_size++] = static_cast<std::uint8_t>(word >> (8 * i));
            m_pending >>= 32;
            m_pendingBits -= 32;
        }
    }

    // Pads with zero bits to the next byte boundary.
    void alignToByte()
    {
        reserve(8);
        while (m_pendingBits > 0) {
            m_bytes[m_size++] = static_cast<std::uint8_t>(m_pending);
            m_pending >>= 8;
            m_pendingBits = m_pendingBits > 8 ? m_pendingBits - 8 : 0;
        }
        m_pending = 0;
    }

    // What has been written, up to the last whole byte (call alignToByte first).
    void appendTo(std::vector<std::uint8_t>& out) const { out.insert(out.end(), m_bytes.get(), m_bytes.get() + m_size); }
    size_t size() const { return m_size; }

private:
    void reserve(size_t more)
    {
        if (m_size + more <= m_capacity)
            return;
        size_t capacity = std::max<size_t>(m_capacity * 2, 64 * 1024);
        auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
        if (m_size)
            std::memcpy(bytes.get(), m_bytes.get(), m_size);
        m_bytes = std::move(bytes);
        m_capacity = capacity;
    }

    std::unique_ptr<std::uint8_t[]> m_bytes;
    size_t m_size { 0 };
    size_t m_capacity { 0 };
    std::uint64_t m_pending { 0 };
    unsigned m_pendingBits { 0 };
};

}
