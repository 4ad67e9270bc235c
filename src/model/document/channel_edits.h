#pragma once

#include "document/document.h"

#include <QList>
#include <QString>

// The channel grid's editing tools as operations of the document: copy and
// paste as table text, clearing, inserting, removing, moving, sorting and
// filling rows. Each operation is one undo step; every cell a paste or a
// fill sets goes through the same rule as typing or choosing it.
namespace quillon {

// Channels firstChannel..lastChannel, grid columns firstColumn..lastColumn
// (1..11), all inclusive.
struct CellBlock {
    int firstChannel = 1;
    int lastChannel = 1;
    int firstColumn = 1;
    int lastColumn = 1;
};

// The cells as text: a tab between columns, a line feed after each row (the
// last included), in the texts the grid shows.
QString copyCells(const ChannelSheet &sheet, const CellBlock &block);
// Whole channels, columns 1 to 11, in the order given.
QString copyChannels(const ChannelSheet &sheet, const QList<int> &channels);

// What a paste did not take.
struct NotTaken {
    int channel = 0;
    QString reason;   // in the document's language
};
struct PasteResult {
    QList<NotTaken> notTaken;
    bool changed = false;
};

// Pastes table text (tab-separated fields, LF or CRLF line ends; a trailing
// line end adds no row) at (channel, column), filling cells to the right and
// downwards. A row whose receive frequency is out of band or not a number is
// left unchanged; a new channel gets the new-channel defaults, then the
// pasted values. Tone and option texts match the list in either language,
// whatever their case. When the text is one value and a selection is given
// (blocks of cells, as a grid selection is made of), every selected cell
// takes it.
PasteResult pasteText(Document &document, int channel, int column, const QString &text,
                      const QList<CellBlock> &selection = {});
// Whether table text is a single value: one line (a line end after it
// included) without a tab.
bool isSingleValue(const QString &text);

// The summary message of what was not taken; empty when everything was.
QString pasteSummary(const PasteResult &result, Language language);

// Empties the channels (as erasing their receive frequency does).
void clearChannels(Document &document, const QList<int> &channels);
// An empty channel at `channel`, the following ones one further down.
// Refused (false, nothing changes) when channel 128 holds anything.
bool insertChannel(Document &document, int channel);
// The channels are taken out, the following ones move up; the last ones
// become empty.
void removeChannels(Document &document, QList<int> channels);
// The channels swap with their neighbour above (delta -1) or below (+1) as
// one block; nothing moves when one of them is already at the edge.
// Returns the channels' new numbers.
QList<int> moveChannels(Document &document, QList<int> channels, int delta);
// The channels (all 128 when the list is empty) in ascending receive
// frequency, empty channels last, in the places they held.
void sortByReceiveFrequency(Document &document, QList<int> channels);
// The first channel's value of the column into the other channels, through
// the column's rule. Returns what was not taken.
PasteResult fillDown(Document &document, QList<int> channels, int column);

} // namespace quillon
