#include "features/features_window.h"

#include "i18n/apply_language.h"
#include "common/app_context.h"
#include "common/clock.h"
#include "common/twips.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTime>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon {

namespace {

// The length limit is for typing: a value from an image or a check is shown
// whole (a decoded offset of 100 MHz has nine characters).
void showWhole(QLineEdit *edit, int typingLimit, const QString &text)
{
    if (typingLimit > 0)
        edit->setMaxLength(std::max<int>(typingLimit, int(text.size())));
    edit->setText(text);
}

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

std::optional<FieldFilter> keyFilterOf(Feature id)
{
    switch (id) {
    case Feature::PriorityChannel:
    case Feature::PresentChannel: return FieldFilter::ChannelNumber;
    case Feature::Password: return FieldFilter::Digits;
    case Feature::PowerOnText: return FieldFilter::DisplayText;
    case Feature::VfoFrequency:
    case Feature::VfoOffset: return FieldFilter::Frequency;
    default: return std::nullopt;
    }
}

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
        control = combo;
        break;
    }
    case FeatureKind::Text: {
        auto *edit = new QLineEdit(this);
        if (field.maxLength > 0)
            edit->setMaxLength(field.maxLength);
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
        } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            connect(edit, &QLineEdit::textEdited, this, [this, id](const QString &text) { textEdited(id, text); });
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
            m_shown[index(field.id)] = features.text(field.id);
            showWhole(static_cast<QLineEdit *>(control), field.maxLength, features.text(field.id));
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

void OptionalFeaturesWindow::textEdited(Feature id, const QString &text)
{
    QString accepted = text;
    if (const std::optional<FieldFilter> filter = keyFilterOf(id))
        accepted = filterInsertion(*filter, m_shown[index(id)], text);
    if (keyFilterOf(id) == FieldFilter::ChannelNumber)
        accepted = channelNumberChanged(accepted);
    if (accepted != text) {
        auto *edit = static_cast<QLineEdit *>(m_controls[index(id)]);
        const int cursor = edit->cursorPosition() - int(text.size() - accepted.size());
        edit->setText(accepted);
        edit->setCursorPosition(std::clamp(cursor, 0, int(accepted.size())));
    }
    m_shown[index(id)] = accepted;
}

void OptionalFeaturesWindow::leaveField(Feature id)
{
    const QString text = m_shown[index(id)];
    switch (id) {
    case Feature::PriorityChannel:
    case Feature::PresentChannel: setFieldText(id, channelNumberLeft(text)); break;
    case Feature::VfoFrequency: setFieldText(id, vfoFrequencyLeft(text, context().workspace().band)); break;
    case Feature::VfoOffset: setFieldText(id, vfoOffsetLeft(text)); break;
    default: setFieldText(id, text); break;
    }
}

bool OptionalFeaturesWindow::isEdited(Feature id) const
{
    return m_shown[index(id)] != record().text(id);
}

void OptionalFeaturesWindow::leaveFocusedField()
{
    // Only what the user typed is committed; a field merely holding the
    // focus keeps its value, whichever window is active.
    if (const std::optional<Feature> id = lineEditFeature(focusWidget()); id && isEdited(*id))
        leaveField(*id);
}

void OptionalFeaturesWindow::setFieldText(Feature id, const QString &text)
{
    auto *edit = static_cast<QLineEdit *>(m_controls[index(id)]);
    if (edit->text() != text)
        showWhole(edit, featureField(id).maxLength, text);
    m_shown[index(id)] = text;
    context().document().setFeatureText(id, text);
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

std::optional<Feature> OptionalFeaturesWindow::lineEditFeature(QObject *object) const
{
    if (!qobject_cast<QLineEdit *>(object))
        return std::nullopt;
    for (int i = 0; i < kFeatureCount; ++i) {
        if (m_controls[i] == object)
            return static_cast<Feature>(i);
    }
    return std::nullopt;
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

    const std::optional<Feature> id = lineEditFeature(watched);
    if (!id)
        return EditorWindow::eventFilter(watched, event);

    if (event->type() == QEvent::FocusOut) {
        if (leavesField(event) && isEdited(*id))
            leaveField(*id);
    } else if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter checks the field and goes no further: the focus stays.
            leaveField(*id);
            return true;
        }
        const QString typed = key->text();
        const std::optional<FieldFilter> filter = keyFilterOf(*id);
        // Shortcuts (Ctrl+A, Ctrl+V ...) may carry their letter as text; they are no typing.
        const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (filter && !shortcut && typed.size() == 1 && typed[0].isPrint()) {
            const std::optional<QChar> kept = filterKey(*filter, typed[0]);
            if (!kept)
                return true;
            if (*kept != typed[0]) {
                // The field receives the changed character as if it had been typed.
                QKeyEvent changed(QEvent::KeyPress, key->key(), key->modifiers(), QString(*kept));
                QCoreApplication::sendEvent(watched, &changed);
                return true;
            }
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
