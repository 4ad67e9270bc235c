#pragma once

#include "document/image_compare.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quillon {

// FrmVerify: what a verify found different between the radio and what was
// written, one row a value: where, the value in the radio, the value
// written, the addresses. It stays open beside the editor windows.
class VerifyWindow : public QDialog {
    Q_OBJECT
public:
    explicit VerifyWindow(QWidget *parent = nullptr);

    // againstWrite: the radio was compared with the last write of this run,
    // not with the program's data.
    void showDifferences(const QList<ImageDifference> &differences, Language language, bool againstWrite);

private:
    QLabel *m_label;
    QTableWidget *m_table;
    QPushButton *m_close;
};

} // namespace quillon
