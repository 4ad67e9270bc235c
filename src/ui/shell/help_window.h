#pragma once

#include "i18n/language.h"

#include <QDialog>

class QTextBrowser;

namespace quillon {

// FrmHelp: our own user guide, shown when the compiled help file is missing.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);
    // Loads the guide of the language and brings the window up.
    void showGuide(Language language);

private:
    QTextBrowser *m_browser;
};

} // namespace quillon
