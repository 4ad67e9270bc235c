#pragma once

#include <QComboBox>

namespace quillon {

// The band list: tells when the user opens its drop-down and when that
// closes again (by a choice, Escape or a click elsewhere), so the main window
// can tell a choice made there from one made by the program or the keyboard.
class BandComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void droppedDown();
    void popupClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_popup = nullptr;
};

// Swallows every wheel event sent to the object it is installed on, so the
// wheel never changes a list by accident.
class WheelBlocker : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace quillon
