#pragma once

#include "i18n/language.h"

#include <QDialog>

namespace quillon {

// FrmAbout: logo, title, version and maker line, and a link to the maker's
// page. A click anywhere but on the link closes it.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    void applyLanguage(Language language);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace quillon
