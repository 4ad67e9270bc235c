#pragma once

#include <QString>

namespace quillon {

inline constexpr int kBandCount = 10;

// Text of band list entry index ("400-470MHz"); empty outside 0..9.
QString bandText(int index);

// The selected band of the main window's band list and its limits in MHz.
struct BandState {
    int index = 0;
    int low = 136;
    int high = 174;

    // Selects entry index and takes the limits from its text. An index that
    // is no entry (outside 0..9) changes nothing and returns false.
    bool select(int index);
    // low <= f < high: the upper limit itself is outside.
    bool contains(double megahertz) const;
    // (low + high) / 2 with five decimals, "435.00000" for 400-470MHz.
    QString centreText() const;

    bool operator==(const BandState &other) const = default;
};

} // namespace quillon
