#include "image/channel_sheet.h"

namespace quillon {
ChannelSheet::ChannelSheet() = default;
const ChannelRow &ChannelSheet::row(int channel) const { return m_rows[channel - 1]; }
QString ChannelSheet::cell(int channel, int column) const { return m_cells[channel - 1][column]; }
void ChannelSheet::clearNo(int) {}
void ChannelSheet::clearGrid() {}
void ChannelSheet::setNumOf(const MemoryImage &, int) {}
void ChannelSheet::setGrid(const BandState &) {}
void ChannelSheet::decodeNames(const MemoryImage &) {}
void ChannelSheet::encodeRecords(MemoryImage &) const {}
void ChannelSheet::encodeNames(MemoryImage &) const {}
void ChannelSheet::refreshLanguage(int) {}
} // namespace quillon
