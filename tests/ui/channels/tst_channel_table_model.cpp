#include "channels/channel_table_model.h"
#include "document/document.h"

#include <QBrush>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;

class TestChannelTableModel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cellsComeFromTheSheet();
    void eachOperationNamesTheRowsItChanged();
    void headersAreSetThroughTheModel();

private:
    // The channels of every dataChanged since the last call, as "first-last".
    QStringList takeChangedRows();

    std::unique_ptr<Document> m_document;
    std::unique_ptr<ChannelTableModel> m_model;
    std::unique_ptr<QSignalSpy> m_spy;
};

void TestChannelTableModel::init()
{
    m_document = std::make_unique<Document>();
    m_document->setLanguage(Language::English);
    m_document->selectBand(3);   // 400-470MHz
    m_model = std::make_unique<ChannelTableModel>(*m_document);
    m_spy = std::make_unique<QSignalSpy>(m_model.get(), &QAbstractItemModel::dataChanged);
}

QStringList TestChannelTableModel::takeChangedRows()
{
    QStringList rows;
    for (const QList<QVariant> &signal : *m_spy) {
        const auto first = signal.at(0).value<QModelIndex>();
        const auto last = signal.at(1).value<QModelIndex>();
        QString range = QStringLiteral("%1-%2").arg(first.row() + 1).arg(last.row() + 1);
        // Whole rows, the channel number included; anything else shows.
        if (first.column() != 0 || last.column() != ChannelSheet::kColumns - 1)
            range += QStringLiteral(" columns %1-%2").arg(first.column()).arg(last.column());
        rows << range;
    }
    m_spy->clear();
    return rows;
}

void TestChannelTableModel::cellsComeFromTheSheet()
{
    QCOMPARE(m_model->rowCount(), 128);
    QCOMPARE(m_model->columnCount(), 12);
    m_document->commitFrequency(17, kColumnRx, QStringLiteral("462.563"));
    const QModelIndex rx = m_model->index(16, kColumnRx);
    QCOMPARE(rx.data().toString(), QStringLiteral("462.56250"));
    QCOMPARE(m_model->index(16, kColumnNumber).data().toString(), QStringLiteral("17"));
    QCOMPARE(m_model->index(16, kColumnBandwidth).data().toString(), QStringLiteral("Wide"));
    QVERIFY(!(m_model->flags(rx) & Qt::ItemIsEditable));
    // The colour is the row's: an empty even row is light blue as well.
    QCOMPARE(m_model->index(127, kColumnName).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0xC0, 0xC0, 0xFF));
    QVERIFY(!m_model->index(16, kColumnRx).data(Qt::BackgroundRole).isValid());
}

void TestChannelTableModel::eachOperationNamesTheRowsItChanged()
{
    m_document->commitFrequency(3, kColumnRx, QStringLiteral("440"));
    QCOMPARE(takeChangedRows(), QStringList{QStringLiteral("3-3")});
    m_document->chooseTone(3, kColumnTxTone, 52);
    m_document->commitName(9, QStringLiteral("BASE"));
    QCOMPARE(takeChangedRows(), (QStringList{QStringLiteral("3-3"), QStringLiteral("9-9")}));

    // What changes nothing says nothing.
    m_document->chooseTone(3, kColumnTxTone, 52);
    m_document->commitFrequency(4, kColumnRx, QStringLiteral("44.0.1"));
    m_document->commitFrequency(4, kColumnRx, QStringLiteral("470"));   // outside the band
    m_document->selectBand(3);
    QCOMPARE(takeChangedRows(), QStringList());

    // One operation over several rows is one signal over them.
    m_document->newImage();
    QCOMPARE(takeChangedRows(), QStringList{QStringLiteral("3-9")});
    m_document->undo();
    QCOMPARE(takeChangedRows(), QStringList{QStringLiteral("3-9")});
    QCOMPARE(m_model->index(8, kColumnName).data().toString(), QStringLiteral("BASE"));
}

void TestChannelTableModel::headersAreSetThroughTheModel()
{
    QSignalSpy headers(m_model.get(), &QAbstractItemModel::headerDataChanged);
    QVERIFY(m_model->setHeaderData(11, Qt::Horizontal, QStringLiteral("Channel Name")));
    QCOMPARE(m_model->headerData(11, Qt::Horizontal).toString(), QStringLiteral("Channel Name"));
    QCOMPARE(headers.size(), 1);
    QVERIFY(!m_model->setHeaderData(12, Qt::Horizontal, QStringLiteral("none")));
    QVERIFY(!m_model->setHeaderData(0, Qt::Vertical, QStringLiteral("none")));
    QCOMPARE(headers.size(), 1);
}

QTEST_MAIN(TestChannelTableModel)
#include "tst_channel_table_model.moc"
