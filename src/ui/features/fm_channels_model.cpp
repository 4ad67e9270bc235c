#include "features/fm_channels_model.h"

namespace quillon {

FmChannelsModel::FmChannelsModel(const FmRadio &fm, QObject *parent)
    : QAbstractTableModel(parent), m_fm(fm), m_shown(fm.controls().cells)
{
}

int FmChannelsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FmRadio::kChannels;
}

int FmChannelsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant FmChannelsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == kValueColumn ? m_fm.controls().cells[index.row()] : QString::number(index.row() + 1);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

Qt::ItemFlags FmChannelsModel::flags(const QModelIndex &index) const
{
    // Only the frequency can be the current cell; it is edited in place by
    // the window's own editor, never by the view.
    if (index.column() == kValueColumn)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled;
}

QVariant FmChannelsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_headers.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_headers[section];
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

bool FmChannelsModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(m_headers.size())
        || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_headers[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

void FmChannelsModel::refresh()
{
    const auto &cells = m_fm.controls().cells;
    for (int row = 0; row < FmRadio::kChannels; ++row) {
        if (cells[row] == m_shown[row])
            continue;
        m_shown[row] = cells[row];
        const QModelIndex cell = index(row, kValueColumn);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

} // namespace quillon
