#pragma once

#include "i18n/field_texts.h"
#include "image/band.h"
#include "image/memory_image.h"

#include <QString>

#include <array>

namespace quillon {

// One channel of the channel table. Option k (grid columns 5..10) lives at [k - 5].
struct ChannelRow {
    QString rxText;              // ddd.ddddd; empty = the channel is empty
    QString txText;
    QString rxToneText;
    QString txToneText;
    int rxToneIndex = 0;
    int txToneIndex = 0;
    std::array<int, 6> optionIndex{};
    std::array<QString, 6> optionText;
    QString name;

    bool operator==(const ChannelRow &other) const = default;
};

// Grid columns of the channel table.
enum ChannelColumn {
    kColumnNumber = 0,
    kColumnRx = 1,
    kColumnTx = 2,
    kColumnRxTone = 3,
    kColumnTxTone = 4,
    kColumnPower = 5,         // first option column
    kColumnBusyLock = 6,
    kColumnScanAdd = 7,
    kColumnBandwidth = 8,
    kColumnTxProhibit = 9,
    kColumnScramble = 10,     // last option column
    kColumnName = 11,
};

// The option lists of columns 5..10 (channelOptionText ...) are in i18n/field_texts.h.

// What committing the frequency editor did.
enum class FrequencyCommit {
    Unchanged,    // empty TX, a text that is no number, or no such channel
    Stored,       // the snapped frequency is in the cell and the table
    Cleared,      // an erased RX deleted the channel
    OutOfBand,    // outside the selected band: nothing changed, tell the user
};

// The 128-channel table and, beside it, the texts the channel grid shows
// (they can differ from the table, e.g. a new channel's "Wide").
// Channels are numbered 1..128; an operation on any other number does nothing.
class ChannelSheet {
public:
    static constexpr int kChannels = 128;
    static constexpr int kColumns = 12;   // column 0 is the channel number

    ChannelSheet();

    // A channel as the grid holds it: the table's row and the texts of its
    // cells 1..11 (index 0 unused), which can differ from the row (a new
    // channel's "Wide").
    struct Entry {
        ChannelRow row;
        std::array<QString, kColumns> cells;
        bool operator==(const Entry &other) const = default;
    };

    const ChannelRow &row(int channel) const;   // 1..128; an empty row otherwise
    Entry entry(int channel) const;             // 1..128; an empty entry otherwise
    void setEntry(int channel, const Entry &entry);
    // Whether the channel holds the same row and shows the same texts in both sheets.
    bool sameChannel(const ChannelSheet &other, int channel) const;
    // Neither a receive frequency nor a name: nothing would be lost by overwriting it.
    bool isBlank(int channel) const;
    // Grid cell text; column 0 is the channel number, 1..11 the fields.
    QString cell(int channel, int column) const;

    void clearNo(int channel);
    // Whether the channel holds a receive frequency inside the band: the
    // check that decides which channels a decode keeps.
    bool passesBandCheck(int channel, const BandState &band) const;
    void clearGrid();
    // The table's part of a New: every channel cleared.
    void startForm() { clearGrid(); }

    // The image passes.
    void setNumOf(const MemoryImage &image, Language language);
    void setGrid(const BandState &band);
    void decodeNames(const MemoryImage &image);
    void encodeRecords(MemoryImage &image) const;
    void encodeNames(MemoryImage &image) const;

    // Re-texts every row in the language after a switch; names untouched.
    void refreshLanguage(Language language);
    // Shows the rows that hold a channel in the language, from their stored
    // positions; nothing is cleared.
    void showInLanguage(Language language);

    // The cell editors' commits.

    // The column whose editor a click on (channel, column) opens: a new
    // channel always starts with its receive frequency.
    int editorColumn(int channel, int column) const;
    // The frequency editor's text t left cell (channel, column 1 or 2).
    FrequencyCommit commitFrequency(int channel, int column, const QString &text,
                                    const BandState &band, Language language);
    // A channel without a transmit frequency, as a file can ask for it (the
    // frequency editor cannot erase one). False for an empty channel.
    bool clearTransmit(int channel);
    // The name editor's text changed: the table follows at once, the cell on commit.
    void editName(int channel, const QString &text);
    void commitName(int channel, const QString &text);
    // A tone chosen from the tone list for column 3 or 4.
    bool chooseTone(int channel, int column, int toneIndex, Language language);
    // An option chosen from the list of column 5..10. The row's option text
    // stays; the cell shows the chosen entry.
    bool chooseOption(int channel, int column, int index, Language language);

    // Texts of a new channel's cells 3..10 in the language.
    static QString newChannelText(int column, Language language);

    bool operator==(const ChannelSheet &other) const = default;

private:
    static bool validChannel(int channel) { return channel >= 1 && channel <= kChannels; }
    ChannelRow &rowRef(int channel) { return m_rows[channel - 1]; }
    QString &cellRef(int channel, int column) { return m_cells[channel - 1][column]; }

    std::array<ChannelRow, kChannels> m_rows;
    std::array<std::array<QString, kColumns>, kChannels> m_cells;
};

} // namespace quillon
