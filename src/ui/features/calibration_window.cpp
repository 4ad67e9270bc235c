#include "features/calibration_window.h"

#include "common/twips.h"
#include "i18n/apply_language.h"
#include "common/app_context.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kGrades = 3;          // tabs: high, middle, low power
constexpr int kSegments = 3;        // frames per tab: high, middle, low segment
constexpr int kLockedByToolbar = 3; // a toolbar lock disables only the first three sliders
// Wide enough for the three English tabs side by side.
constexpr int kWidthTwips = 6600;
constexpr int kHeightTwips = 4200;

QLabel *makeLabel(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

CalibrationWindow::CalibrationWindow(AppContext &context, QWidget *parent)
    : EditorWindow(context, parent)
{
    setObjectName(QStringLiteral("Form4"));
    resize(pixelsAcross(this, kWidthTwips), pixelsDown(this, kHeightTwips));

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    // Every tab reads whole in either language, side by side: no cut text,
    // no scroll arrows. The window is never narrower than the three.
    tabs->setElideMode(Qt::ElideNone);
    tabs->setUsesScrollButtons(false);
    const bool unlocked = context.workspace().modes.isOn(HiddenMode::Calibration);
    for (int grade = 0; grade < kGrades; ++grade) {
        auto *page = new QWidget(tabs);
        auto *pageLayout = new QVBoxLayout(page);
        for (int segment = 0; segment < kSegments; ++segment) {
            const int k = grade * kSegments + segment;
            const QString index = QString::number(k);
            auto *frame = new QGroupBox(page);
            frame->setObjectName(QStringLiteral("Frame1_") + index);
            auto *slider = new QSlider(Qt::Horizontal, frame);
            slider->setObjectName(QStringLiteral("Slider1_") + index);
            slider->setRange(0, 255);
            slider->setSingleStep(1);
            slider->setPageStep(5);
            slider->setEnabled(unlocked);
            QLabel *readout = makeLabel(frame, QStringLiteral("Label3_") + index);
            readout->setMinimumWidth(readout->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
            readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

            auto *row = new QHBoxLayout(frame);
            row->addWidget(makeLabel(frame, QStringLiteral("Label1_") + index));
            row->addWidget(slider, 1);
            row->addWidget(makeLabel(frame, QStringLiteral("Label2_") + index));
            row->addWidget(readout);
            pageLayout->addWidget(frame);

            m_sliders[k] = slider;
            m_readouts[k] = readout;
            // valueChanged follows every drag step as well as clicks and keys.
            connect(slider, &QSlider::valueChanged, this, [this, k](int value) { onSliderMoved(k, value); });
            // One drag is one undo step.
            connect(slider, &QSlider::sliderReleased, &context.document(), &Document::endContinuousEdit);
        }
        pageLayout->addStretch();
        tabs->addTab(page, QString());
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);

    connect(&context, &AppContext::hiddenModeActivated, this, &CalibrationWindow::onModeActivated);
    connect(&context, &AppContext::hiddenModeLocked, this, &CalibrationWindow::onModeLocked);

    applyLanguage();
    showModel();
}

void CalibrationWindow::applyLanguage()
{
    // The table names the end-label arrays as a whole; every element takes
    // the row's text.
    TextTable table;
    for (const TextRow &row : calibrationWindowTexts()) {
        if (row.element < 0 && (row.control == u"Label1" || row.control == u"Label2")) {
            for (int k = 0; k < CalibrationStore::kCount; ++k) {
                TextRow element = row;
                element.element = k;
                table << element;
            }
        } else {
            table << row;
        }
    }
    applyTextTable(this, table, context().language());
}

void CalibrationWindow::showModel()
{
    // Setting a slider runs its handler: the display shows the store and
    // asks nothing of it.
    m_showing = true;
    const CalibrationStore &store = context().workspace().calibration;
    for (int k = 0; k < CalibrationStore::kCount; ++k) {
        m_sliders[k]->setValue(store.value(k));
        m_readouts[k]->setText(QString::number(store.value(k)));
    }
    m_showing = false;
}

void CalibrationWindow::onSliderMoved(int k, int value)
{
    if (m_showing)
        return;
    context().document().setCalibrationValue(k, value);
    m_readouts[k]->setText(QString::number(value));
}

void CalibrationWindow::documentChanged(const Change &change)
{
    if (change.areas & Area::Calibration)
        showModel();
}

void CalibrationWindow::onModeActivated(HiddenMode mode)
{
    if (mode != HiddenMode::Calibration)
        return;
    for (QSlider *slider : m_sliders)
        slider->setEnabled(true);
}

void CalibrationWindow::onModeLocked(HiddenMode mode)
{
    if (mode != HiddenMode::Calibration)
        return;
    for (int k = 0; k < kLockedByToolbar; ++k)
        m_sliders[k]->setEnabled(false);
}

CalibrationWindow::~CalibrationWindow()
{
    prepareDestruction();
}

} // namespace quillon
