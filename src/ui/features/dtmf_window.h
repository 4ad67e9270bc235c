#pragma once

#include "common/editor_window.h"

#include <QList>

#include <array>
#include <functional>

class QComboBox;
class QRadioButton;
class QStackedWidget;
class QWidget;

namespace quillon {

class DtmfSettings;
class RuledLineEdit;

// Form2: the DTMF settings on two pages, "Other Features" and
// "Auto-dialing Memory", switched by two option buttons.
class DtmfWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit DtmfWindow(AppContext &context, QWidget *parent = nullptr);
    ~DtmfWindow() override;
    void applyLanguage() override;
    void showModel() override;

protected:
    void documentChanged(const Change &change) override;

private:
    void showOtherFeatures();
    void showMemories();
    RuledLineEdit *addCodeField(QWidget *page, const QString &name, int maxLength);
    const DtmfSettings &settings() const;
    void edit(const std::function<void(DtmfSettings &)> &change);
    QList<RuledLineEdit *> textFields() const;
    // The texts the user changed into the settings (a field was left, or
    // a read, write or save is about to start).
    void commitTexts();

    QRadioButton *m_optionMemories = nullptr;   // Option1
    QRadioButton *m_optionOther = nullptr;      // Option2
    QStackedWidget *m_pages = nullptr;
    QWidget *m_otherPage = nullptr;
    QWidget *m_memoryPage = nullptr;
    QComboBox *m_speed = nullptr;             // Combo16
    QComboBox *m_delay = nullptr;             // Combo17
    RuledLineEdit *m_aniStart = nullptr;      // Text2
    RuledLineEdit *m_aniEnd = nullptr;        // Text4
    QComboBox *m_aniSending = nullptr;        // Combo1
    QComboBox *m_groupCall = nullptr;         // Combo18
    RuledLineEdit *m_ownCode = nullptr;       // Text3
    std::array<RuledLineEdit *, 8> m_memories{};   // Text1_0..Text1_7
};

} // namespace quillon
