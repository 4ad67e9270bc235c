#pragma once

#include "common/editor_window.h"

#include <QList>

#include <array>
#include <functional>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class QWidget;

namespace quillon {

class DtmfSettings;
class KeyFilter;

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
    QLineEdit *addCodeField(QWidget *page, const QString &name, int maxLength);
    const DtmfSettings &settings() const;
    void edit(const std::function<void(DtmfSettings &)> &change);
    QList<QLineEdit *> textFields() const;
    // The texts as the fields show them into the settings.
    void commitTexts();

    QRadioButton *m_optionMemories = nullptr;   // Option1
    QRadioButton *m_optionOther = nullptr;      // Option2
    QStackedWidget *m_pages = nullptr;
    QWidget *m_otherPage = nullptr;
    QWidget *m_memoryPage = nullptr;
    QComboBox *m_speed = nullptr;         // Combo16
    QComboBox *m_delay = nullptr;         // Combo17
    QLineEdit *m_aniStart = nullptr;      // Text2
    QLineEdit *m_aniEnd = nullptr;        // Text4
    QComboBox *m_aniSending = nullptr;    // Combo1
    QComboBox *m_groupCall = nullptr;     // Combo18
    QLineEdit *m_ownCode = nullptr;       // Text3
    std::array<QLineEdit *, 8> m_memories{};   // Text1_0..Text1_7
    KeyFilter *m_keyFilter = nullptr;
};

} // namespace quillon
