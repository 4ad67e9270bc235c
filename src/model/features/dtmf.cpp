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

std::optional<QChar> dtmfKey(QChar c)
{
    if (c >= u'a' && c <= u'z')
        c = QChar(c.unicode() - u'a' + u'A');
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'D') || c == u'*' || c == u'#')
        return c;
    return std::nullopt;
}

} // namespace quillon
