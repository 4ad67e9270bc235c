#pragma once

#include "i18n/language.h"

#include <QDialog>

namespace quillon {

// FrmAbout: logo, title, version and maker line, and a link under the
// maker's address that opens the built-in user guide (the maker has no page
// yet). A click anywhere but on the link closes it; so does the link.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    // The link's target.
    static constexpr const char *kGuideLink = "quillon:guide";

    explicit AboutBox(QWidget *parent = nullptr);

    void applyLanguage(Language language);

signals:
    // The link was followed: the box has closed, the guide is to be shown.
    void guideRequested();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace quillon
