#pragma once

#include "image/memory_image.h"

namespace quillon {

// The DTMF window's values. Only the ANI end code has a place in the image,
// and only for decoding: the encoder always erases it.
class DtmfSettings {
public:
    DtmfSettings();
    void startForm();                            // keeps the ANI end code
    void decode(const MemoryImage &image);       // 0x0730..0x073F into the ANI end code
};

} // namespace quillon
