#include "features/dtmf_window.h"

#include "features/dtmf.h"
#include "common/ruled_line_edit.h"
#include "common/twips.h"
#include "i18n/apply_language.h"
#include "i18n/ui_texts.h"
#include "common/app_context.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <iterator>
#include <utility>

namespace quillon {

namespace {

QComboBox *makeList(QWidget *parent, const QString &name, int entries)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    // The entries get their texts from the language table; the count is fixed.
    for (int i = 0; i < entries; ++i)
        combo->addItem(QString());
    return combo;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

DtmfWindow::DtmfWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(ui_text::kDtmfWindowTitle.text(context.language()));
    resize(pixelsAcross(this, 5750), pixelsDown(this, 3600));

    m_optionMemories = new QRadioButton(this);
    m_optionMemories->setObjectName(QStringLiteral("Option1"));
    m_optionOther = new QRadioButton(this);
    m_optionOther->setObjectName(QStringLiteral("Option2"));

    // Page "Other Features".
    m_otherPage = new QWidget(this);
    m_otherPage->setObjectName(QStringLiteral("OtherFeaturesPage"));
    m_speed = makeList(m_otherPage, QStringLiteral("Combo16"), 2);
    m_delay = makeList(m_otherPage, QStringLiteral("Combo17"), DtmfSettings::kDelayEntries);
    m_aniStart = addCodeField(m_otherPage, QStringLiteral("Text2"), DtmfSettings::kCodeLength);
    m_aniEnd = addCodeField(m_otherPage, QStringLiteral("Text4"), DtmfSettings::kCodeLength);
    m_aniSending = makeList(m_otherPage, QStringLiteral("Combo1"), 3);
    m_aniSending->setEditable(true);   // the box takes typed text, nothing reads it
    m_aniSending->setInsertPolicy(QComboBox::NoInsert);
    m_groupCall = makeList(m_otherPage, QStringLiteral("Combo18"), 1);
    m_groupCall->addItems({QStringLiteral("*"), QStringLiteral("#"), QStringLiteral("A"),
                           QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    m_ownCode = addCodeField(m_otherPage, QStringLiteral("Text3"), DtmfSettings::kOwnCodeLength);

    auto *other = new QGridLayout(m_otherPage);
    other->setContentsMargins(0, 0, 0, 0);
    const std::pair<QLabel *, QWidget *> rows[] = {
        {makeLabel(m_otherPage, QStringLiteral("Label16")), m_speed},
        {makeLabel(m_otherPage, QStringLiteral("Label17")), m_delay},
        {makeLabel(m_otherPage, QStringLiteral("Label2")), m_aniStart},
        {makeLabel(m_otherPage, QStringLiteral("Label4")), m_aniEnd},
        {makeLabel(m_otherPage, QStringLiteral("Label5"), ui_text::kAniSendingLabel.text(context.language())), m_aniSending},
        {makeLabel(m_otherPage, QStringLiteral("Label18")), m_groupCall},
        {makeLabel(m_otherPage, QStringLiteral("Label3")), m_ownCode},
    };
    for (int r = 0; r < int(std::size(rows)); ++r) {
        other->addWidget(rows[r].first, r, 0);
        other->addWidget(rows[r].second, r, 1);
        rows[r].first->setBuddy(rows[r].second);
    }
    other->setRowStretch(int(std::size(rows)), 1);

    // Page "Auto-dialing Memory": eight captioned fields, each fully usable.
    m_memoryPage = new QWidget(this);
    m_memoryPage->setObjectName(QStringLiteral("AutodialPage"));
    auto *memories = new QGridLayout(m_memoryPage);
    memories->setContentsMargins(0, 0, 0, 0);
    memories->setVerticalSpacing(2);
    for (int i = 0; i < DtmfSettings::kMemories; ++i) {
        m_memories[i] = addCodeField(m_memoryPage, QStringLiteral("Text1_%1").arg(i),
                                     DtmfSettings::kCodeLength);
        QLabel *label = makeLabel(m_memoryPage, QStringLiteral("Label1_%1").arg(i));
        label->setBuddy(m_memories[i]);
        memories->addWidget(label, i, 0);
        memories->addWidget(m_memories[i], i, 1);
    }
    memories->setRowStretch(DtmfSettings::kMemories, 1);

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(m_otherPage);
    m_pages->addWidget(m_memoryPage);

    auto *options = new QHBoxLayout;
    options->addWidget(m_optionMemories);
    options->addWidget(m_optionOther);
    options->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addLayout(options);
    layout->addWidget(m_pages, 1);

    connect(m_optionMemories, &QRadioButton::clicked, this, &DtmfWindow::showMemories);
    connect(m_optionOther, &QRadioButton::clicked, this, &DtmfWindow::showOtherFeatures);

    // A choice goes straight into the settings, a text the user changed when
    // it is left: the window has no OK.
    connect(m_speed, &QComboBox::activated, this, [this](int i) { edit([i](DtmfSettings &s) { s.speed = i; }); });
    connect(m_delay, &QComboBox::activated, this,
            [this](int i) { edit([i](DtmfSettings &s) { s.firstDigitDelay = i; }); });
    connect(m_aniSending, &QComboBox::activated, this,
            [this](int i) { edit([i](DtmfSettings &s) { s.aniSending = i; }); });
    connect(m_groupCall, &QComboBox::activated, this,
            [this](int i) { edit([i](DtmfSettings &s) { s.groupCallCode = i; }); });
    for (RuledLineEdit *field : textFields())
        connect(field, &QLineEdit::editingFinished, this, &DtmfWindow::commitTexts);
    connect(&context, &AppContext::pendingEditsRequested, this, &DtmfWindow::commitTexts);

    // The window opens on the page "Other Features".
    m_optionOther->setChecked(true);
    m_pages->setCurrentWidget(m_otherPage);
    applyLanguage();
    showModel();
}

const DtmfSettings &DtmfWindow::settings() const
{
    return context().workspace().dtmf;
}

void DtmfWindow::edit(const std::function<void(DtmfSettings &)> &change)
{
    DtmfSettings changed = settings();
    change(changed);
    context().document().setDtmf(changed);
}

QList<RuledLineEdit *> DtmfWindow::textFields() const
{
    QList<RuledLineEdit *> fields{m_aniStart, m_aniEnd, m_ownCode};
    for (RuledLineEdit *memory : m_memories)
        fields.append(memory);
    return fields;
}

void DtmfWindow::commitTexts()
{
    // Only texts the user changed: the others hold what the settings hold.
    auto take = [](QString &stored, const RuledLineEdit *field) {
        if (field->isEdited())
            stored = field->text();
    };
    edit([&](DtmfSettings &s) {
        take(s.aniStartCode, m_aniStart);
        take(s.aniEndCode, m_aniEnd);
        take(s.ownCode, m_ownCode);
        for (int i = 0; i < DtmfSettings::kMemories; ++i)
            take(s.memories[i], m_memories[i]);
    });
}

void DtmfWindow::documentChanged(const Change &change)
{
    if (change.areas & Area::Dtmf)
        showModel();
}

RuledLineEdit *DtmfWindow::addCodeField(QWidget *page, const QString &name, int maxLength)
{
    auto *edit = new RuledLineEdit(InputRule::DtmfCode, maxLength, page);
    edit->setObjectName(name);
    return edit;
}

void DtmfWindow::showOtherFeatures()
{
    m_pages->setCurrentWidget(m_otherPage);
    m_speed->setFocus(Qt::OtherFocusReason);
}

void DtmfWindow::showMemories()
{
    m_pages->setCurrentWidget(m_memoryPage);
    m_memories[0]->setFocus(Qt::OtherFocusReason);
}

void DtmfWindow::applyLanguage()
{
    applyTextTable(this, dtmfWindowTexts(), context().language());
}

void DtmfWindow::showModel()
{
    const DtmfSettings &s = settings();
    m_speed->setCurrentIndex(s.speed);
    m_delay->setCurrentIndex(s.firstDigitDelay);
    m_aniSending->setCurrentIndex(s.aniSending);
    m_groupCall->setCurrentIndex(s.groupCallCode);
    m_aniStart->place(s.aniStartCode);
    m_aniEnd->place(s.aniEndCode);
    m_ownCode->place(s.ownCode);
    for (int i = 0; i < DtmfSettings::kMemories; ++i)
        m_memories[i]->place(s.memories[i]);
}

DtmfWindow::~DtmfWindow()
{
    prepareDestruction();
}

} // namespace quillon
