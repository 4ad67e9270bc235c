#include "features/dtmf.h"

namespace quillon {
DtmfSettings::DtmfSettings() = default;
void DtmfSettings::startForm() {}
void DtmfSettings::decode(const MemoryImage &) {}
} // namespace quillon
