#include "features/fm_radio.h"

namespace quillon {
FmRadio::FmRadio() = default;
void FmRadio::decode(const MemoryImage &) {}
void FmRadio::encode(MemoryImage &) const {}
} // namespace quillon
