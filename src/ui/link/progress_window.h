#pragma once

#include "link/transfer_protocol.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace quillon {

// FrmWriting: caption, Label1 and ProgressBar1 while a transfer runs. It has
// no buttons and cannot be closed by the user; only the transfer ends it.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    // Texts in the language and the bar's range: 1..195 reading, 1..192 writing.
    void begin(TransferKind kind, Language language);
    void setStep(int step);
    // Closes the window; the only way it closes.
    void finish();

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_label;
    QProgressBar *m_bar;
    bool m_finishing = false;
};

} // namespace quillon
