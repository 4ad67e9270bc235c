#include "message_box.h"

#include "i18n/messages.h"

#include <QMessageBox>
#include <QAbstractButton>

namespace quillon {

namespace {

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0xF0) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int number;
};

QList<ButtonSpec> buttonsOf(int style)
{
    switch (style & 0x0F) {
    case 1: return {{QMessageBox::Ok, kAnswerOk}, {QMessageBox::Cancel, kAnswerCancel}};
    case 2: return {{QMessageBox::Abort, kAnswerAbort}, {QMessageBox::Retry, kAnswerRetry}, {QMessageBox::Ignore, kAnswerIgnore}};
    case 3: return {{QMessageBox::Yes, kAnswerYes}, {QMessageBox::No, kAnswerNo}, {QMessageBox::Cancel, kAnswerCancel}};
    case 4: return {{QMessageBox::Yes, kAnswerYes}, {QMessageBox::No, kAnswerNo}};
    case 5: return {{QMessageBox::Retry, kAnswerRetry}, {QMessageBox::Cancel, kAnswerCancel}};
    default: return {{QMessageBox::Ok, kAnswerOk}};
    }
}

} // namespace

int showPlatformMessageBox(QWidget *owner, const QString &text, int style, const QString &caption, Language language)
{
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    // The radio's texts separate lines with CR LF.
    box.setText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    box.setIcon(iconOf(style));
    if (style & 4096)
        box.setWindowModality(Qt::ApplicationModal);

    const QList<ButtonSpec> specs = buttonsOf(style);
    QMessageBox::StandardButtons standard;
    for (const ButtonSpec &s : specs)
        standard |= s.button;
    box.setStandardButtons(standard);
    for (const ButtonSpec &s : specs) {
        if (QAbstractButton *b = box.button(s.button); b && (language == Language::Chinese || language == Language::English))
            b->setText(buttonText(s.number, language));
    }
    const int defaultIndex = (style >> 8) & 0x03;
    if (defaultIndex < specs.size())
        box.setDefaultButton(specs[defaultIndex].button);
    if (box.standardButtons() & QMessageBox::Cancel)
        box.setEscapeButton(QMessageBox::Cancel);

    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonSpec &s : specs) {
        if (s.button == clicked)
            return s.number;
    }
    // Closed without a button: the escape answer, Cancel where there is one.
    return (box.standardButtons() & QMessageBox::Cancel) ? kAnswerCancel : specs.first().number;
}

} // namespace quillon
