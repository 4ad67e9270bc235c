#pragma once

#include "document/document.h"
#include "files/channel_csv.h"

#include <QList>

// Channels read from a CSV file typed into the channel table, each row as a
// user would type it into a cleared channel: the frequency editor's band
// check and raster, the name editor's rule, tones and options chosen by
// their list positions.
namespace quillon {

struct ChannelImportReport {
    int imported = 0;               // rows taken
    QList<CsvNotice> rejected;      // the file's rejected rows and those typing refused
    QList<CsvNotice> warnings;      // rows taken with a value changed by the editors' rules
    QList<int> changedChannels;     // channels whose contents differ afterwards, ascending
};

// Types every row that can be typed into sheet; a rejected row changes nothing.
ChannelImportReport importChannelRows(ChannelSheet &sheet, const ChannelCsvRead &rows, const BandState &band,
                                      Language language);
// What importChannels would do, without doing it.
ChannelImportReport previewChannelImport(const Workspace &workspace, const ChannelCsvRead &rows);
// The import of every good row as one step of the document.
ChannelImportReport importChannels(Document &document, const ChannelCsvRead &rows);

// A fresh document in the state Save writes right after start, with band
// index 0..9 chosen from the band list. False for another index.
bool startNewImage(Document &document, int band);

// "1-3, 7" for the channels 1, 2, 3 and 7.
QString channelRanges(const QList<int> &channels);

} // namespace quillon
