#include "files/csv_table.h"

#include "i18n/csv_texts.h"

#include <QStringDecoder>

namespace quillon {

int CsvTable::column(const QString &name) const
{
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (header[i].trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

namespace {

bool blank(const QStringList &fields)
{
    return fields.size() == 1 && fields.first().isEmpty();
}

} // namespace

CsvParse parseCsv(const QByteArray &bytes, QChar separator)
{
    CsvParse result;
    QByteArrayView data(bytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data);
    if (decoder.hasError()) {
        result.error = csv_text::kNotUtf8;
        return result;
    }

    QList<CsvRecord> records;
    CsvRecord record{1, {}};
    QString field;
    int line = 1;
    bool quoted = false;       // inside a quoted part of a field
    int quoteLine = 0;
    auto endRecord = [&] {
        record.fields.append(field);
        field.clear();
        if (!blank(record.fields))
            records.append(record);
        record = CsvRecord{line, {}};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool lineEnd = c == u'\n' || c == u'\r';
        if (lineEnd) {
            // CRLF is one line end; a CR alone is one too.
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ++line;
        }
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += lineEnd ? QChar(u'\n') : c;
            }
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
            quoteLine = line;
        } else if (c == separator) {
            record.fields.append(field);
            field.clear();
        } else if (lineEnd) {
            endRecord();
        } else {
            field += c;
        }
    }
    if (quoted) {
        result.errorLine = quoteLine;
        result.error = csv_text::kUnclosedQuote;
        return result;
    }
    endRecord();

    if (records.isEmpty()) {
        result.error = csv_text::kEmptyFile;
        return result;
    }
    result.table.headerLine = records.first().line;
    result.table.header = records.takeFirst().fields;
    result.table.records = std::move(records);
    result.ok = true;
    return result;
}

QByteArray writeCsv(const QList<QStringList> &rows, QChar separator)
{
    QString text;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += separator;
            QString field = row[i];
            if (field.contains(separator) || field.contains(u'"') || field.contains(u'\n') || field.contains(u'\r'))
                field = u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
            text += field;
        }
        text += QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

} // namespace quillon
