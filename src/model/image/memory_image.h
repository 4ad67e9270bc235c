#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace quillon {

inline constexpr int kImageSize = 3072;   // addresses 0x0000..0x0BFF

// The radio's programmable memory. Every access is bounds-checked: an index
// outside the image is a programming error, never a silent zero.
class MemoryImage {
public:
    MemoryImage() { m_bytes.fill(0); }

    std::uint8_t at(int address) const;
    void set(int address, std::uint8_t value);
    // Sets [first, last] (both inclusive) to value.
    void fill(int first, int last, std::uint8_t value);

    // Copies of a range; the range must lie inside the image.
    QByteArray bytes(int address, int length) const;
    // Stores data at address; bytes that would fall past the image are dropped.
    void store(int address, const QByteArray &data);

    QByteArray toByteArray() const;
    // Missing bytes of a short array read as 0x00, extra bytes are ignored.
    static MemoryImage fromByteArray(const QByteArray &data);

    bool operator==(const MemoryImage &other) const = default;

private:
    std::array<std::uint8_t, kImageSize> m_bytes;
};

} // namespace quillon
