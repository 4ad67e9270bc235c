#pragma once

#include "files/csv_table.h"
#include "i18n/language.h"
#include "image/band.h"
#include "image/channel_sheet.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Channels in the common generic CSV format of radio programmers, both ways.
// Export maps a channel's values onto the format's columns; reading turns
// each row into what a user would type into the channel grid (the typing
// itself, through the editors' rules, is the document's import).
namespace quillon {

// The channel grid's column headers 0..11 in the language.
QStringList channelGridHeaders(Language language);

// Larger files are refused unread: a channel list is a few kilobytes.
inline constexpr qint64 kChannelCsvLimit = 4 * 1024 * 1024;

// The format's columns, then BusyLock, TxProhibit and Scramble: readers of
// the format ignore columns they do not know, so a round trip through this
// program loses nothing.
QStringList channelCsvHeader();

// Something to tell about one row or channel.
struct CsvNotice {
    int line = 0;      // file line, 0 for an exported channel
    int channel = 0;   // 1..128; 0 when not known
    Bilingual text;
};

struct ChannelCsvExport {
    QByteArray bytes;
    int channels = 0;
    QList<CsvNotice> warnings;   // values the format cannot carry as they are
};
// One row per channel that passes the band check, in channel order.
ChannelCsvExport exportChannelCsv(const ChannelSheet &sheet, const BandState &band);
// The same channels in the grid's own columns and texts, tab separated.
QByteArray exportChannelTsv(const ChannelSheet &sheet, const BandState &band, Language language);

// One row of a file as the user would type it into an empty channel.
struct ChannelCsvEntry {
    enum class Transmit {
        SameAsReceive,   // nothing typed: a new channel transmits on its RX
        Typed,           // transmitText typed into the TX cell
        None,            // no transmit frequency
    };
    int line = 0;
    int channel = 0;              // 1..128; 0: the next channel in file order
    QString receive;              // typed into the RX cell
    Transmit transmit = Transmit::SameAsReceive;
    QString transmitText;
    int receiveTone = 0;          // tone list positions, 0 = Off
    int transmitTone = 0;
    std::array<std::optional<int>, 6> options;   // columns 5..10; nullopt: the new-row default
    QString name;                 // as the file has it; the name editor's rule comes when typing
};

struct ChannelCsvRead {
    enum class Status { Ok, ReadError, BadFile };
    Status status = Status::Ok;
    QString systemReason;         // ReadError: the system's words
    int errorLine = 0;            // BadFile: the line, 0 for the whole file
    Bilingual error;              // BadFile: why the file is no channel table
    QList<ChannelCsvEntry> entries;
    QList<CsvNotice> rejected;    // rows that cannot be a channel, with the reason
};

// Reads the rows of a table. sequential: rows go to channels in file order,
// whatever their Location says (the numbers are given when a row is taken).
ChannelCsvRead readChannelCsv(const QByteArray &bytes, bool sequential);
ChannelCsvRead loadChannelCsv(const QString &path, bool sequential);

} // namespace quillon
