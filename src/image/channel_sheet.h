#pragma once

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
};

// The 128-channel table and, beside it, the texts the channel grid shows
// (they can differ from the table, e.g. a new channel's "Wide").
class ChannelSheet {
public:
    static constexpr int kChannels = 128;
    static constexpr int kColumns = 12;   // column 0 is the channel number

    ChannelSheet();

    const ChannelRow &row(int channel) const;   // 1..128
    // Grid cell text; column 0 is the channel number, 1..11 the fields.
    QString cell(int channel, int column) const;

    void clearNo(int channel);
    void clearGrid();

    // The image passes.
    void setNumOf(const MemoryImage &image, int language);
    void setGrid(const BandState &band);
    void decodeNames(const MemoryImage &image);
    void encodeRecords(MemoryImage &image) const;
    void encodeNames(MemoryImage &image) const;

    // Re-texts every row in the language after a switch; names untouched.
    void refreshLanguage(int language);

    // (The cell editors' commit operations are declared below this line.)

private:
    std::array<ChannelRow, kChannels> m_rows;
    std::array<std::array<QString, kColumns>, kChannels> m_cells;
};

} // namespace quillon
