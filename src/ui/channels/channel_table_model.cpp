#include "channels/channel_table_model.h"

#include "document/document.h"

#include <QBrush>
#include <QColor>

namespace quillon {

ChannelTableModel::ChannelTableModel(const Document &document, QObject *parent)
    : QAbstractTableModel(parent), m_document(document)
{
    connect(&document, &Document::changed, this, &ChannelTableModel::documentChanged);
}

const ChannelSheet &ChannelTableModel::sheet() const
{
    return m_document.workspace().channels;
}

int ChannelTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ChannelSheet::kChannels;
}

int ChannelTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ChannelSheet::kColumns;
}

QVariant ChannelTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int channel = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return sheet().cell(channel, index.column());
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        // The colour belongs to the row, so an empty even row is light blue too.
        if (channel % 2 == 0)
            return QBrush(QColor(0xC0, 0xC0, 0xFF));
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex &index) const
{
    // Cells are edited by the window's own editors, never by the view.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < ChannelSheet::kColumns) {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return m_headers[size_t(section)];
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool ChannelTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ChannelSheet::kColumns
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    m_headers[size_t(section)] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

void ChannelTableModel::refreshAll()
{
    emit dataChanged(index(0, 0), index(ChannelSheet::kChannels - 1, ChannelSheet::kColumns - 1),
                     {Qt::DisplayRole});
}

void ChannelTableModel::documentChanged(const Change &change)
{
    if (!(change.areas & Area::Channels) || change.firstChannel < 1 || change.lastChannel < change.firstChannel)
        return;
    emit dataChanged(index(change.firstChannel - 1, 0), index(change.lastChannel - 1, ChannelSheet::kColumns - 1),
                     {Qt::DisplayRole});
}

} // namespace quillon
