#include "features/calibration.h"

#include "image/address_map.h"

#include <QtGlobal>

#include <algorithm>

namespace quillon {

static_assert(std::ranges::all_of(CalibrationStore::kAddresses, [](int a) {
    return a >= kCalibration && a < kUnusedAfterCalibration;
}));

CalibrationStore::CalibrationStore()
    : m_values(kDefaults)
{
}

int CalibrationStore::value(int k) const
{
    Q_ASSERT(k >= 0 && k < kCount);
    return m_values[k];
}

void CalibrationStore::setValue(int k, int value)
{
    Q_ASSERT(k >= 0 && k < kCount);
    m_values[k] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

void CalibrationStore::decode(const MemoryImage &image)
{
    for (int k = 0; k < kCount; ++k)
        m_values[k] = image.at(kAddresses[k]);
}

void CalibrationStore::encode(MemoryImage &image) const
{
    for (int k = 0; k < kCount; ++k)
        image.set(kAddresses[k], m_values[k]);
}

} // namespace quillon
