// image_bytes.h -- bounded little-endian reading and ARGB packing for the picture decoders.
#pragma once

#include <cstdint>
#include <cstring>

#include "layer/image_decode.h"

namespace layer::image {

// A cursor over a byte range that never reads past its end: a read beyond it fails.
class ByteReader {
public:
    ByteReader(const void* data, size_t size) : base_(static_cast<const BYTE*>(data)), size_(size) {}

    size_t Size() const { return size_; }
    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    bool Seek(size_t pos) {
        if (pos > size_) return false;
        pos_ = pos;
        return true;
    }
    bool Skip(size_t n) { return n <= Remaining() ? (pos_ += n, true) : false; }
    bool Read(void* dst, size_t n) {
        if (n > Remaining()) return false;
        std::memcpy(dst, base_ + pos_, n);
        pos_ += n;
        return true;
    }
    bool U8(BYTE* v) { return Read(v, 1); }
    bool U16(WORD* v) {
        BYTE b[2];
        if (!Read(b, 2)) return false;
        *v = (WORD)(b[0] | (b[1] << 8));
        return true;
    }
    bool U32(DWORD* v) {
        BYTE b[4];
        if (!Read(b, 4)) return false;
        *v = (DWORD)b[0] | ((DWORD)b[1] << 8) | ((DWORD)b[2] << 16) | ((DWORD)b[3] << 24);
        return true;
    }
    // The bytes from the cursor on, n of them, or null when fewer remain.
    const BYTE* Span(size_t n) const { return n <= Remaining() ? base_ + pos_ : nullptr; }
    const BYTE* At(size_t pos) const { return pos <= size_ ? base_ + pos : nullptr; }

private:
    const BYTE* base_;
    size_t size_;
    size_t pos_ = 0;
};

inline DWORD PackArgb(DWORD a, DWORD r, DWORD g, DWORD b) { return (a << 24) | (r << 16) | (g << 8) | b; }

// Expands a channel of `bits` bits (1 to 8) to 8 bits by bit replication, so that the
// largest value becomes 255 and 0 stays 0.
inline DWORD ExpandBits(DWORD v, unsigned bits) {
    if (bits == 0) return 0;
    if (bits >= 8) return v >> (bits - 8);
    DWORD out = 0;
    int shift = 8 - (int)bits;
    while (shift > -(int)bits) {
        out |= shift >= 0 ? v << shift : v >> -shift;
        shift -= (int)bits;
    }
    return out & 0xFF;
}

// One channel described by a bit mask, as in BMP bit fields and DDS pixel formats.
struct MaskChannel {
    DWORD mask = 0;
    unsigned shift = 0;
    unsigned bits = 0;

    // False for a mask whose bits are not contiguous.
    bool Set(DWORD m) {
        mask = m;
        shift = bits = 0;
        if (m == 0) return true;
        while (!((m >> shift) & 1)) ++shift;
        while (shift + bits < 32 && ((m >> (shift + bits)) & 1)) ++bits;
        return shift + bits == 32 || (m >> (shift + bits)) == 0;
    }
    DWORD Extract(DWORD v) const {
        if (!mask) return 0;
        DWORD raw = (v & mask) >> shift;
        return bits > 8 ? raw >> (bits - 8) : ExpandBits(raw, bits);
    }
};

// Resizes a level to width x height, failing on an oversized or empty picture.
HRESULT AllocateLevel(ImageLevel* level, uint64_t width, uint64_t height);

}  // namespace layer::image
