#pragma once

#include "features/fm_radio.h"

#include <QAbstractTableModel>

#include <array>

namespace quillon {

// The grid MSFGrid over the FM window's channel cells: column 0 numbers the
// channels 1..32, column 1 shows the cell text of the store's controls.
// The header texts are set by the language switch.
class FmChannelsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kValueColumn = 1;

    FmChannelsModel(const FmRadio &fm, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

    // The store changed: the rows whose cell differs from what the grid
    // last showed are announced.
    void refresh();

private:
    const FmRadio &m_fm;
    std::array<QString, FmRadio::kChannels> m_shown;
    std::array<QString, 2> m_headers;
};

} // namespace quillon
