#include "features/dtmf.h"

#include "image/address_map.h"

namespace quillon {

DtmfSettings::DtmfSettings() = default;

void DtmfSettings::startForm()
{
    const QString keep = aniEndCode;
    *this = DtmfSettings{};
    aniEndCode = keep;
}

void DtmfSettings::decode(const MemoryImage &image)
{
    QString text;
    for (int i = 0; i < kCodeLength; ++i) {
        const std::uint8_t byte = image.at(kDtmfAniEndCode + i);
        if (byte != 0xFF)
            text += QChar::fromLatin1(static_cast<char>(byte));
    }
    aniEndCode = text;
}

} // namespace quillon
