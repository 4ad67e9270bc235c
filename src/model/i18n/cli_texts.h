#pragma once

#include "i18n/language.h"

// The headings of the command-line tool's image summary (info).
namespace quillon::cli_text {

inline const Bilingual kIdentification{"识别码", "Identification"};
inline const Bilingual kBand{"频段", "Range"};
inline const Bilingual kChannels{"信道", "Channels"};
inline const Bilingual kSettings{"可选功能", "Optional Features"};

} // namespace quillon::cli_text
