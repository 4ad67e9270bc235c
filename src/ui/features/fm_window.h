#pragma once

#include "i18n/messages.h"
#include "common/editor_window.h"

#include <array>

class QComboBox;
class QLabel;
class QTableView;

namespace quillon {

class FmChannelsModel;
class FmRadio;
class RuledLineEdit;

// Form5: the 32 FM channels in a grid edited in place, and the FM settings.
// OK stores what the controls show; Cancel and the close box only hide.
class FmRadioWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit FmRadioWindow(AppContext &context, QWidget *parent = nullptr);
    ~FmRadioWindow() override;
    void applyLanguage() override;
    void showModel() override;

protected:
    void documentChanged(const Change &change) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void beginCellEdit(int row);
    void endCellEdit();
    void leaveFrequencyMode();
    // What the user typed and has not left yet, as if it were left.
    void commitPendingEdits();
    void showRangeMessage(Message message, QPoint at);
    void confirm();
    const FmRadio &fm() const;

    FmChannelsModel *m_channels = nullptr;
    QTableView *m_grid = nullptr;               // MSFGrid
    RuledLineEdit *m_cellEditor = nullptr;      // Text1
    QLabel *m_message = nullptr;                // Label2
    RuledLineEdit *m_frequencyMode = nullptr;   // Text2
    std::array<QComboBox *, 3> m_lists{};       // Combo1_0..Combo1_2
    int m_editRow = -1;                         // grid row of the last cell edit
    bool m_cellEditing = false;                 // Text1 is open over that row
};

} // namespace quillon
