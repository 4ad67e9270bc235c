#pragma once

#include "image/memory_image.h"

namespace quillon {

// The FM radio window's store and what its controls show.
class FmRadio {
public:
    FmRadio();
    void decode(const MemoryImage &image);    // 0x0760..0x07A5
    void encode(MemoryImage &image) const;    // 0x0760..0x07A5 (0x07A3 = 0xFF)
};

} // namespace quillon
