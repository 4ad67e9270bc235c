#pragma once

#include "i18n/language.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma separated text as spreadsheets and other radio programmers write
// it: UTF-8 (a leading byte-order mark is skipped), double-quote quoting
// (a quote inside a quoted field is doubled, a quoted field may hold line
// ends), LF, CRLF or CR line ends.
namespace quillon {

struct CsvRecord {
    int line = 0;          // the file line the record starts on, from 1
    QStringList fields;
};

struct CsvTable {
    QStringList header;    // the first record
    int headerLine = 0;
    QList<CsvRecord> records;   // the records after the header; blank lines are left out

    // Position of the column named so (case and blanks around it ignored); -1 when absent.
    int column(const QString &name) const;
};

struct CsvParse {
    bool ok = false;
    CsvTable table;
    int errorLine = 0;     // 0: the error concerns the whole file
    Bilingual error;       // why the text is no table ("is not UTF-8 text")
};

CsvParse parseCsv(const QByteArray &bytes, QChar separator = u',');

// One record per row, fields quoted only where they must be, CRLF line ends.
QByteArray writeCsv(const QList<QStringList> &rows, QChar separator = u',');

} // namespace quillon
