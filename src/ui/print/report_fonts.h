#pragma once

#include "i18n/language.h"

#include <QByteArray>
#include <QFont>
#include <QMap>

#include <optional>

namespace quillon {

// The font of the report's texts, with the Chinese glyphs in both languages.
//
// A PDF's text layer gives every embedded glyph one character: Qt's PDF
// writer takes the lowest code point that the font maps to the glyph. The
// CJK fonts draw a Kangxi radical (U+2F00 block) or a supplementary radical
// (U+2E80 block) with the glyph of its unified ideograph, so "高", "止",
// "音", "示" and "无" came out as their look-alike radicals and a search or
// a copy in the PDF failed; and every font's space came out as a tab, which
// Qt draws with the space's glyph. The report therefore draws with copies
// of the installed fonts whose character maps leave out the radical blocks
// and the control characters and give the tab a glyph of its own. A radical
// typed into a name falls back to the installed font and keeps its code point.
QFont reportFont(Language language, qreal pointSize, bool bold = false);

// The families of the copies, empty when no such font is installed.
QString extractableCjkFamily();
QString extractableLatinFamily();

namespace font_file {

// The character map (cmap) without the code points that share a glyph with
// the ideographs and letters printed, the tab on the last glyph of the
// glyphCount that no character uses; std::nullopt when the table cannot be
// read. The result holds one UCS-4 subtable (format 12).
std::optional<QByteArray> cmapForExtraction(const QByteArray &cmap, int glyphCount);
// A naming table that gives the font the family and style.
QByteArray nameTable(const QString &family, bool bold);
// An OpenType font file made of the tables, by tag.
QByteArray fontFile(const QMap<QByteArray, QByteArray> &tables);
// The code points the copy leaves out.
bool isLeftOut(char32_t codePoint);

} // namespace font_file

} // namespace quillon
