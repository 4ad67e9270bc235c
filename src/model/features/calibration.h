#pragma once

#include "image/memory_image.h"

#include <array>
#include <cstdint>

namespace quillon {

// Nine calibration values, slider k = 0..8: three power grades (high, middle,
// low), each with a high, middle and low band segment. The image keeps the
// three middle-segment values first, so the addresses are permuted.
class CalibrationStore {
public:
    static constexpr int kCount = 9;
    // Image address of value k.
    static constexpr std::array<int, kCount> kAddresses{
        0x07F3, 0x07F0, 0x07F4, 0x07F5, 0x07F1, 0x07F6, 0x07F7, 0x07F2, 0x07F8};
    // The factory values a radio starts with, by k.
    static constexpr std::array<std::uint8_t, kCount> kDefaults{
        218, 208, 218, 160, 160, 160, 124, 116, 124};

    CalibrationStore();   // the start-up defaults

    int value(int k) const;           // k = 0..8
    void setValue(int k, int value);  // clamped to 0..255

    void decode(const MemoryImage &image);    // 0x07F0..0x07F8
    void encode(MemoryImage &image) const;    // 0x07F0..0x07F8

    bool operator==(const CalibrationStore &other) const = default;

private:
    std::array<std::uint8_t, kCount> m_values;
};

} // namespace quillon
