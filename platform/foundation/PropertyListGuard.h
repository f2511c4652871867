#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace foundation {

// Structural checks run on untrusted property-list bytes before libplist parses them. libplist
// 2.2 trusts a binary file's offsets and recurses without limit, so a crafted file can make it
// read out of bounds, loop forever on a cycle or overflow the stack.
class PropertyListGuard {
public:
    // Binary ("bplist00"): the trailer, the offset table and every object reachable from the top
    // object must lie inside the file; references must name existing objects; no object may
    // contain itself; dictionary keys must be strings; no string may hold a NUL character; dates
    // must fit the parser's 32-bit seconds; nesting may not pass `maximumDepth`; and
    // the tree the parser would build (shared objects counted each time they are used) may not
    // exceed `maximumNodes`.
    static bool isAcceptableBinary(std::span<const uint8_t> bytes, unsigned maximumDepth, size_t maximumNodes);
    // XML: no NUL bytes; comments, declarations and tags must be complete and balanced, and
    // element nesting may not pass `maximumDepth`.
    static bool isAcceptableXML(std::span<const uint8_t> bytes, unsigned maximumDepth);
};

}
