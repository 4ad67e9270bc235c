#pragma once

#include "image/band.h"
#include "image/memory_image.h"

namespace quillon {

// The settings of the optional-features window: general functions, VOX and
// VFO, held as list positions, texts and check states.
class OptionalFeatures {
public:
    OptionalFeatures();

    // Defaults of a new image; the VFO frequency goes to the band centre.
    void startForm(const BandState &band);

    // Decoding runs in three portions, in the order the image pass needs.
    void decodeOptionBytes(const MemoryImage &image);           // 0x0700..0x070F
    void decodeRest(MemoryImage &readImage, int language);     // 0x0717..0x072E, writes 0xFF to 0x0717
    void decodePassword(const MemoryImage &image);             // 0x0740..0x0743

    void encodeBlock(MemoryImage &image, int bandIndex) const; // 0x0700..0x072F
    void encodePassword(MemoryImage &image) const;             // 0x0740..0x0743
};

} // namespace quillon
