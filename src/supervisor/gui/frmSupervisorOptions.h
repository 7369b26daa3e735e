#pragma once

#include "supervisor/SupervisorOptions.h"

#include <QDialog>

#include <functional>

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

// The supervisor's utilities on four tabs: printing reports (one client, chosen clients, all
// clients), verifying keyed answers, deleting client names, and the disk's records (exporting
// scores, backing up, the audit trail). "Execute Selection" runs the visible tab's operation
// and the window closes.
class frmSupervisorOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmSupervisorOptions(QWidget* parent = nullptr);

    const SupervisorOptions& State() const { return state_; }
    // Whether the operation run by "Execute Selection" went ahead (password given, not empty).
    bool Executed() const { return executed_; }

    // Asks for a file or a folder: the title, where to start; empty when cancelled. The
    // toolkit's own choosers unless replaced (tests answer them).
    using Chooser =
        std::function<QString(QWidget* parent, const QString& title, const QString& start)>;
    void SetFileChooser(Chooser chooser) { fileChooser_ = std::move(chooser); }
    void SetFolderChooser(Chooser chooser) { folderChooser_ = std::move(chooser); }

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The two menu buttons, and the panel of the same array that frames the tabs.
    enum class Place { ExecuteSelection, GoToMainMenu, TabsPanel };

    QWidget* BuildReportsTab();
    QWidget* BuildCommentTab(const QString& text);
    QWidget* BuildRecordsTab();
    void RecordsOptionChosen(int option);
    void ExportScores();
    void BackUp();
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
    QRadioButton* recordsOptions_[3] = {};
    QCheckBox* chkExportNames_ = nullptr;
    Chooser fileChooser_;
    Chooser folderChooser_;
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
