#include "image/memory_image.h"

#include <algorithm>

namespace quillon {

namespace {

bool inImage(int address)
{
    return address >= 0 && address < kImageSize;
}

} // namespace

std::uint8_t MemoryImage::at(int address) const
{
    Q_ASSERT(inImage(address));
    return m_bytes[static_cast<std::size_t>(address)];
}

void MemoryImage::set(int address, std::uint8_t value)
{
    Q_ASSERT(inImage(address));
    m_bytes[static_cast<std::size_t>(address)] = value;
}

void MemoryImage::fill(int first, int last, std::uint8_t value)
{
    Q_ASSERT(inImage(first) && inImage(last) && first <= last + 1);
    for (int address = first; address <= last; ++address)
        m_bytes[static_cast<std::size_t>(address)] = value;
}

QByteArray MemoryImage::bytes(int address, int length) const
{
    Q_ASSERT(length >= 0 && inImage(address) && address + length <= kImageSize);
    QByteArray out(length, '\0');
    for (int i = 0; i < length; ++i)
        out[i] = static_cast<char>(m_bytes[static_cast<std::size_t>(address + i)]);
    return out;
}

void MemoryImage::store(int address, const QByteArray &data)
{
    Q_ASSERT(inImage(address));
    const int count = std::min<qsizetype>(data.size(), kImageSize - address);
    for (int i = 0; i < count; ++i)
        m_bytes[static_cast<std::size_t>(address + i)] = static_cast<std::uint8_t>(data[i]);
}

QByteArray MemoryImage::toByteArray() const
{
    return bytes(0, kImageSize);
}

MemoryImage MemoryImage::fromByteArray(const QByteArray &data)
{
    MemoryImage image;   // starts zero-filled
    image.store(0, data);
    return image;
}

} // namespace quillon
