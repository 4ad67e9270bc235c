#pragma once

#include "image/memory_image.h"

#include <array>

namespace quillon {

// Nine calibration values, slider k = 0..8; the image keeps them permuted.
class CalibrationStore {
public:
    CalibrationStore();   // the start-up defaults
    void decode(const MemoryImage &image);    // 0x07F0..0x07F8
    void encode(MemoryImage &image) const;    // 0x07F0..0x07F8
};

} // namespace quillon
