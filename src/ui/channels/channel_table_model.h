#pragma once

#include "image/channel_sheet.h"

#include <QAbstractTableModel>

#include <array>

namespace quillon {

class Document;
struct Change;

// The rows of Grid1, read straight from the document's ChannelSheet:
// table row r is channel r + 1, column c the sheet's column c (0 the channel
// number). Even channels are light blue, whatever they hold. The model keeps
// no copy of the cells: it tells the view which rows an operation changed.
class ChannelTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ChannelTableModel(const Document &document, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The column titles are the language table's: it sets them here.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;

    // Every row may differ (the window shows the document again).
    void refreshAll();

private:
    void documentChanged(const Change &change);
    const ChannelSheet &sheet() const;

    const Document &m_document;
    std::array<QString, ChannelSheet::kColumns> m_headers;
};

} // namespace quillon
