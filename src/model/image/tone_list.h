#pragma once

#include "i18n/language.h"

#include <QString>
#include <QStringList>

namespace quillon {

// 0 = Off, 1..50 CTCSS, 51..157 DCS normal, 158..264 DCS inverted.
inline constexpr int kToneCount = 265;

// Entry text; entry 0 is the Off text of the language (0 Chinese, 1 English).
QString toneEntry(int index, Language language);
// All 265 entries in order, as the tone lists show them.
QStringList toneEntries(Language language);
// Position of the first entry equal to text (case-sensitive), 0 when none.
// Only the Off text of the given language matches entry 0.
int toneIndexOf(const QString &text, Language language);

} // namespace quillon
