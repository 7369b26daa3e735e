#pragma once

#include "supervisor/SupervisorOptions.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTabWidget;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::supervisor {

// The supervisor's utilities on three tabs: printing reports (one client, chosen clients, all
// clients), verifying keyed answers and deleting client names. "Execute Selection" runs the
// visible tab's operation and the window closes.
class frmSupervisorOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmSupervisorOptions(QWidget* parent = nullptr);

    const SupervisorOptions& State() const { return state_; }
    // Whether the operation run by "Execute Selection" went ahead (password given, not empty).
    bool Executed() const { return executed_; }

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* BuildReportsTab();
    QWidget* BuildCommentTab(const QString& text);
    void Activation();
    void TabChanged(int tab);
    void OptionChosen(int option);
    void ExecuteSelection();
    void Run(Operation op);
    void PrintAllReports();
    void PlaceFrame();

    SupervisorOptions state_;
    QWidget* area_ = nullptr;
    QFrame* frControls_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QRadioButton* options_[3] = {};
    QCheckBox* chkComments_ = nullptr;
    QCheckBox* chkSumPage_ = nullptr;
    QGroupBox* frCurrentClient_ = nullptr;
    QLabel* lblNameDisplay_ = nullptr;
    ui::MenuButtons* buttons_ = nullptr;
    ui::MsgPanel* msgPanel_ = nullptr;
    bool activated_ = false;
    bool executing_ = false;
    bool executed_ = false;
};

// Opens the window modally over the active window.
void ShowSupervisorOptions();

} // namespace varenta::supervisor
