#include "shell/about_box.h"

#include "i18n/apply_language.h"
#include "i18n/ui_texts.h"
#include "shell/toolbar_icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quillon {

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setModal(true);

    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image1"));
    const int side = fontMetrics().height() * 4;
    logo->setPixmap(applicationIcon().pixmap(QSize(side, side), devicePixelRatioF()));

    auto addLine = [this](const char *name, const QString &text) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        return label;
    };
    QLabel *title = addLine("lblTitle", {});
    // Size and weight only: the face follows the application's, which
    // changes with the language.
    QFont big;
    big.setPointSizeF(title->font().pointSizeF() * 1.3);
    big.setBold(true);
    title->setFont(big);
    addLine("lblVersion", {});
    addLine("lblCopyR", ui_text::kMakerLine.en);
    // The maker has no web page yet: the link opens our own user guide. The
    // box closes first, so that the guide is not shut out by a modal window.
    QLabel *link = addLine("lblLink", {});
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(link, &QLabel::linkActivated, this, [this] {
        accept();
        emit guideRequested();
    });

    auto *lines = new QVBoxLayout;
    for (const char *name : {"lblTitle", "lblVersion", "lblCopyR", "lblLink"})
        lines->addWidget(findChild<QLabel *>(QLatin1String(name)));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(20);
    layout->addWidget(logo, 0, Qt::AlignTop);
    layout->addLayout(lines);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::applyLanguage(Language language)
{
    applyTextTable(this, aboutBoxTexts(), language);
    findChild<QLabel *>(QStringLiteral("lblLink"))
        ->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(QLatin1String(kGuideLink),
                                                              ui_text::kGuideLinkText.text(language).toHtmlEscaped()));
}

void AboutBox::mousePressEvent(QMouseEvent *)
{
    accept();
}

} // namespace quillon
