#pragma once

#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::supervisor {

// The audit trail of the data disk in use, newest event first: read from the keyboard with the
// arrow keys, Page Up and Page Down, Home and End; Tab reaches the one button back.
class frmAuditTrail : public QDialog {
    Q_OBJECT
public:
    explicit frmAuditTrail(QWidget* parent = nullptr);

    QListWidget* lstAuditTrail() const { return list_; }

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Fill();
    void PlaceFrame();

    QWidget* area_;
    QFrame* fraAll_;
    QGroupBox* fraAudit_;
    QLabel* lblDisk_;
    QListWidget* list_;
    ui::MenuButtons* buttons_;
    ui::MsgPanel* msgPanel_;
    bool filled_ = false;
};

} // namespace varenta::supervisor
