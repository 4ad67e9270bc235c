#include "features/features_window.h"

#include "i18n/apply_language.h"
#include "common/app_context.h"
#include "common/clock.h"
#include "common/drop_down.h"
#include "common/ruled_line_edit.h"
#include "common/twips.h"
#include "document/input_rules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kWidthTwips = 12450;
constexpr int kHeightTwips = 7260;

struct UnlockLabel {
    const char *label;
    HiddenMode mode;
    int step;
};
constexpr UnlockLabel kUnlockLabels[] = {
    {"Label2", HiddenMode::ForcedWrite, 0}, {"Label6", HiddenMode::ForcedWrite, 1}, {"Label3", HiddenMode::ForcedWrite, 2},
    {"Label5", HiddenMode::Calibration, 0}, {"Label7", HiddenMode::Calibration, 1}, {"Label8", HiddenMode::Calibration, 2},
    {"Label13", HiddenMode::Fm, 0},         {"Label10", HiddenMode::Fm, 1},         {"Label11", HiddenMode::Fm, 2},
};

// The captions and lists the FM mode enables.
constexpr Feature kFmFeatures[] = {Feature::PowerOnPassword, Feature::RadioSearchMode, Feature::TalkOverSound};

int index(Feature id)
{
    return static_cast<int>(id);
}

} // namespace

OptionalFeaturesWindow::OptionalFeaturesWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
    , m_clock(secondsOfDay)
{
    setObjectName(QStringLiteral("Form3"));
    const Language language = context.language();
    setWindowTitle(featuresWindowTitle().text(language));

    m_functionPage = buildPage(FeaturePage::Function, Feature::PresentChannel);
    m_functionPage->setObjectName(QStringLiteral("Frame2"));
    m_vfoPage = buildPage(FeaturePage::Vfo, Feature::VfoOffset);
    m_vfoPage->setObjectName(QStringLiteral("Frame3"));
    m_vfoPage->hide();

    // Both pages share one place; only the chosen one is visible.
    auto *pages = new QGridLayout;
    pages->addWidget(m_functionPage, 0, 0);
    pages->addWidget(m_vfoPage, 0, 0);

    auto *vox = new QGroupBox(featurePageTitle(FeaturePage::Vox).text(language), this);
    vox->setObjectName(QStringLiteral("Frame1"));
    auto *voxLayout = new QGridLayout(vox);
    for (const FeatureField &field : featureFields()) {
        if (field.page != FeaturePage::Vox)
            continue;
        const int row = voxLayout->rowCount();
        QWidget *control = buildControl(field);
        if (field.kind == FeatureKind::Check) {
            voxLayout->addWidget(control, row, 0, 1, 2);
        } else {
            voxLayout->addWidget(m_labels[index(field.id)], row, 0);
            voxLayout->addWidget(control, row, 1);
        }
    }

    m_functionOption = new QRadioButton(featurePageTitle(FeaturePage::Function).text(language), this);
    m_functionOption->setObjectName(QStringLiteral("Option1"));
    m_functionOption->setChecked(true);
    m_vfoOption = new QRadioButton(featurePageTitle(FeaturePage::Vfo).text(language), this);
    m_vfoOption->setObjectName(QStringLiteral("Option2"));

    auto *side = new QVBoxLayout;
    side->addWidget(vox);
    side->addSpacing(12);
    side->addWidget(m_functionOption);
    side->addWidget(m_vfoOption);
    side->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(pages, 3);
    layout->addLayout(side, 1);

    for (const UnlockLabel &unlock : kUnlockLabels) {
        if (auto *label = findChild<QLabel *>(QString::fromLatin1(unlock.label)))
            label->installEventFilter(this);
    }

    resize(pixelsAcross(this, kWidthTwips), pixelsDown(this, kHeightTwips));
    showModel();
    bindControls();
}

QGroupBox *OptionalFeaturesWindow::buildPage(FeaturePage page, Feature rightColumnStart)
{
    auto *frame = new QGroupBox(featurePageTitle(page).text(context().language()), this);
    auto *grid = new QGridLayout(frame);
    grid->setVerticalSpacing(4);
    grid->setHorizontalSpacing(8);
    int column = 0;
    int row = 0;
    for (const FeatureField &field : featureFields()) {
        if (field.page != page)
            continue;
        if (field.id == rightColumnStart) {
            column = 2;
            row = 0;
        }
        QWidget *control = buildControl(field);
        grid->addWidget(m_labels[index(field.id)], row, column);
        grid->addWidget(control, row, column + 1);
        ++row;
    }
    grid->setRowStretch(grid->rowCount(), 1);
    return frame;
}

QWidget *OptionalFeaturesWindow::buildControl(const FeatureField &field)
{
    const Language language = context().language();
    QWidget *control = nullptr;
    switch (field.kind) {
    case FeatureKind::List: {
        auto *combo = new QComboBox(this);   // not editable: the user only picks
        combo->addItems(featureItems(field.id, language));
        limitLongDropDown(combo);
        control = combo;
        break;
    }
    case FeatureKind::Text: {
        // The length limit is for typing: a value from an image or a check
        // is shown whole (a decoded offset of 100 MHz has nine characters).
        auto *edit = new RuledLineEdit(*featureInputRule(field.id), field.maxLength, this);
        edit->installEventFilter(this);
        control = edit;
        break;
    }
    case FeatureKind::Check:
        control = new QCheckBox(field.caption.text(language), this);
        break;
    }
    control->setObjectName(field.control);
    m_controls[index(field.id)] = control;
    if (!field.label.isEmpty()) {
        auto *label = new QLabel(field.caption.text(language), this);
        label->setObjectName(field.label);
        m_labels[index(field.id)] = label;
    }
    return control;
}

// Connected once the controls show the record, so filling them writes nothing back.
void OptionalFeaturesWindow::bindControls()
{
    for (const FeatureField &field : featureFields()) {
        const Feature id = field.id;
        QWidget *control = m_controls[index(id)];
        if (auto *combo = qobject_cast<QComboBox *>(control)) {
            connect(combo, &QComboBox::currentIndexChanged, this, [this, id](int position) {
                if (!m_showing && position >= 0)
                    context().document().setFeatureSelection(id, position);
            });
        } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
            connect(check, &QCheckBox::toggled, this, [this, id](bool on) {
                if (!m_showing)
                    context().document().setFeatureSelection(id, on ? 1 : 0);
            });
        }
    }
    connect(m_functionOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            showPage(FeaturePage::Function);
    });
    connect(m_vfoOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            showPage(FeaturePage::Vfo);
    });
    // A transfer or a save may start while a field still holds unchecked input.
    connect(&context(), &AppContext::pendingEditsRequested, this, &OptionalFeaturesWindow::leaveFocusedField);
}

void OptionalFeaturesWindow::applyLanguage()
{
    applyTextTable(this, featuresWindowTexts(), context().language());
}

void OptionalFeaturesWindow::showModel()
{
    const QScopedValueRollback<bool> showing(m_showing, true);
    const OptionalFeatures &features = record();
    for (const FeatureField &field : featureFields()) {
        QWidget *control = m_controls[index(field.id)];
        switch (field.kind) {
        case FeatureKind::List:
            static_cast<QComboBox *>(control)->setCurrentIndex(features.selection(field.id));
            break;
        case FeatureKind::Text:
            static_cast<RuledLineEdit *>(control)->place(features.text(field.id));
            break;
        case FeatureKind::Check:
            static_cast<QCheckBox *>(control)->setChecked(features.selection(field.id) != 0);
            break;
        }
    }
}

void OptionalFeaturesWindow::setClock(std::function<int()> clock)
{
    m_clock = clock ? std::move(clock) : Clock(secondsOfDay);
}

void OptionalFeaturesWindow::showPage(FeaturePage page)
{
    const bool vfo = page == FeaturePage::Vfo;
    m_functionPage->setVisible(!vfo);
    m_vfoPage->setVisible(vfo);
    m_controls[index(vfo ? Feature::VfoFrequency : Feature::PriorityChannel)]->setFocus(Qt::OtherFocusReason);
}

void OptionalFeaturesWindow::leaveField(RuledLineEdit *edit, Feature id)
{
    context().document().setFeatureText(id, edit->text());
    // The check may give back the text the record had: no change is
    // announced then, yet the field shows the checked text.
    edit->place(record().text(id));
}

void OptionalFeaturesWindow::leaveFocusedField()
{
    // Only what the user typed is committed; a field merely holding the
    // focus keeps its value, whichever window is active.
    if (const std::optional<Feature> id = textFeature(focusWidget())) {
        auto *edit = textField(*id);
        if (edit->isEdited())
            leaveField(edit, *id);
    }
}

void OptionalFeaturesWindow::captionClicked(HiddenMode mode, int step)
{
    if (!context().document().modes().clickCaption(mode, step, m_clock()))
        return;
    if (mode == HiddenMode::Fm) {
        for (Feature id : kFmFeatures) {
            m_labels[index(id)]->setEnabled(true);
            m_controls[index(id)]->setEnabled(true);
        }
    }
    context().notifyHiddenModeActivated(mode);
}

std::optional<Feature> OptionalFeaturesWindow::textFeature(QObject *object) const
{
    if (!qobject_cast<RuledLineEdit *>(object))
        return std::nullopt;
    for (int i = 0; i < kFeatureCount; ++i) {
        if (m_controls[i] == object)
            return static_cast<Feature>(i);
    }
    return std::nullopt;
}

RuledLineEdit *OptionalFeaturesWindow::textField(Feature id) const
{
    return static_cast<RuledLineEdit *>(m_controls[index(id)]);
}

bool OptionalFeaturesWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *label = qobject_cast<QLabel *>(watched);
        if (label && mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            for (const UnlockLabel &unlock : kUnlockLabels) {
                if (label->objectName() == QLatin1String(unlock.label))
                    captionClicked(unlock.mode, unlock.step);
            }
        }
        return false;
    }

    const std::optional<Feature> id = textFeature(watched);
    if (!id)
        return EditorWindow::eventFilter(watched, event);

    RuledLineEdit *edit = textField(*id);
    if (event->type() == QEvent::FocusOut) {
        if (leavesField(event) && edit->isEdited())
            leaveField(edit, *id);
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter checks the field, edited or not, and goes no further:
            // the focus stays.
            leaveField(edit, *id);
            return true;
        }
    }
    return false;
}

const OptionalFeatures &OptionalFeaturesWindow::record() const
{
    return context().workspace().features;
}

void OptionalFeaturesWindow::documentChanged(const Change &change)
{
    if (change.areas & Area::Features)
        showModel();
}

OptionalFeaturesWindow::~OptionalFeaturesWindow()
{
    prepareDestruction();
}

} // namespace quillon
