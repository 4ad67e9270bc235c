#pragma once

#include "image/memory_image.h"

#include <QString>

#include <array>

namespace quillon {

// The DTMF window's values. They live only while the program runs: of all
// of them only the ANI end code has a place in the image, and only for
// decoding, because the encoder always erases those 16 bytes.
class DtmfSettings {
public:
    static constexpr int kMemories = 8;
    static constexpr int kCodeLength = 16;      // ANI codes and the memories
    static constexpr int kOwnCodeLength = 8;
    static constexpr int kDelayEntries = 10;    // 0 ms .. 1800 ms in 200 ms steps
    static constexpr int kDefaultDelay = 6;     // 1200 ms

    int speed = 0;                  // Combo16: fast, slow
    int firstDigitDelay = kDefaultDelay;   // Combo17
    QString aniStartCode;           // Text2
    QString aniEndCode;             // Text4
    int aniSending = 0;             // Combo1: start, end, both
    int groupCallCode = 0;          // Combo18: empty, *, #, A..D
    QString ownCode;                // Text3
    std::array<QString, kMemories> memories;   // Text1_0..Text1_7

    DtmfSettings();
    // Defaults of a new image. The ANI end code is kept: it came from the
    // radio, and nothing else would bring it back.
    void startForm();
    // 0x0730..0x073F into the ANI end code; 0xFF bytes are skipped wherever
    // they stand.
    void decode(const MemoryImage &image);

    bool operator==(const DtmfSettings &other) const = default;
};

} // namespace quillon
