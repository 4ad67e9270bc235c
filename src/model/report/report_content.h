#pragma once

#include "document/workspace.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

// One table of the report. A table of pairs has a caption cell and a value
// cell per row; the channel table has a header row that is repeated on
// every page it runs over.
struct ReportTable {
    enum class Kind { Pairs, Channels };
    Kind kind = Kind::Pairs;
    QStringList header;         // column captions; empty for pairs
    QList<QStringList> rows;    // every row has as many cells as the table has columns

    int columnCount() const { return header.isEmpty() ? (rows.isEmpty() ? 0 : int(rows.first().size())) : int(header.size()); }
};

struct ReportSection {
    QString heading;
    bool startsPage = false;    // the whole-band settings and the channel table start a page
    ReportTable table;
};

// Everything the report prints, as the windows show it, in the order it is
// printed: the title block, then the sections.
struct ReportContent {
    Language language = Language::English;
    QString maker;
    int makerPointSize = 12;
    QString title;
    int titlePointSize = 14;
    QList<ReportSection> sections;
};

// The report of the workspace in its language: the optional features, the
// whole-band and VOX settings with the captions and shown values of their
// window, three calibration values under their frame captions, and every
// channel row with the grid's headers and cell texts.
ReportContent reportContent(const Workspace &workspace);
// The same in another language, the channel cells re-texted as a language
// switch shows them (the command line prints a file in either language).
ReportContent reportContent(const Workspace &workspace, Language language);

} // namespace quillon
