#include "features/calibration.h"

namespace quillon {
CalibrationStore::CalibrationStore() = default;
void CalibrationStore::decode(const MemoryImage &) {}
void CalibrationStore::encode(MemoryImage &) const {}
} // namespace quillon
