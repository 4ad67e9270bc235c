#pragma once

namespace quillon {

// A run of equally sized records in the image.
struct Region {
    int start;
    int recordSize;
    int count;
    constexpr int end() const { return start + recordSize * count; }   // one past the last byte
    constexpr int address(int index) const { return start + recordSize * index; }   // index from 0
};

inline constexpr Region kChannelRecords{0x0000, 13, 128};
inline constexpr Region kChannelNames{0x0800, 8, 128};
inline constexpr Region kFmChannels{0x0760, 2, 32};

inline constexpr int kUnusedAfterChannels = 0x0680;   // ..0x06FF
inline constexpr int kOptionBytes = 0x0700;           // ..0x070F
inline constexpr int kFixedModelText = 0x0710;        // "QVN-7K", ..0x0715
inline constexpr int kBandIndex = 0x0716;
inline constexpr int kOptionRest = 0x0717;            // ..0x072F
inline constexpr int kPowerOnText = 0x0718;           // 6 bytes
inline constexpr int kVfoFrequency = 0x0720;          // 4 bytes
inline constexpr int kVfoOffset = 0x0724;             // 4 bytes
inline constexpr int kVfoRxTone = 0x0728;             // lo, hi
inline constexpr int kVfoTxTone = 0x072A;             // lo, hi
inline constexpr int kVfoOptions = 0x072C;
inline constexpr int kVfoShiftDirection = 0x072E;
inline constexpr int kDtmfAniEndCode = 0x0730;        // 16 bytes
inline constexpr int kPassword = 0x0740;              // 4 bytes
inline constexpr int kUnusedAfterPassword = 0x0744;   // ..0x075F
inline constexpr int kFmPresentChannel = 0x07A0;
inline constexpr int kFmDisplayMode = 0x07A1;
inline constexpr int kFmStep = 0x07A2;
inline constexpr int kFmUnused = 0x07A3;
inline constexpr int kFmFrequencyMode = 0x07A4;       // hi, lo
inline constexpr int kUnusedAfterFm = 0x07A6;         // ..0x07DF
inline constexpr int kFixedBytes = 0x07E0;            // 00 01 00 00
inline constexpr int kUnusedBeforeCalibration = 0x07E4;   // ..0x07EF
inline constexpr int kCalibration = 0x07F0;           // 9 bytes
inline constexpr int kUnusedAfterCalibration = 0x07F9;    // ..0x07FF
inline constexpr int kLastAddress = 0x0BFF;

static_assert(kChannelRecords.end() == kUnusedAfterChannels);
static_assert(kFmChannels.end() == kFmPresentChannel);
static_assert(kChannelNames.end() == kLastAddress + 1);

} // namespace quillon
