#include "features/optional_features.h"

namespace quillon {
OptionalFeatures::OptionalFeatures() = default;
void OptionalFeatures::startForm(const BandState &) {}
void OptionalFeatures::decodeOptionBytes(const MemoryImage &) {}
void OptionalFeatures::decodeRest(MemoryImage &, int) {}
void OptionalFeatures::decodePassword(const MemoryImage &) {}
void OptionalFeatures::encodeBlock(MemoryImage &, int) const {}
void OptionalFeatures::encodePassword(MemoryImage &) const {}
} // namespace quillon
