#pragma once

#include <QMainWindow>
#include <QString>

#include <functional>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace varenta {
struct DriveSelectionHooks;
}

namespace varenta::ui {

class MenuButtons;
class MsgPanel;
class frmDriveSelect;

// What the command line asks of the main window.
struct MainMenuOptions {
    QString dataDir;            // null: the data disk stored in the configuration file
    bool administrator = false; // shows the two developer buttons
};

// The program's home window: the client list of the data disk and the four main operations.
// Its start-up routine opens the data disk; when it closes the program ends.
class frmMainMenu : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMainMenu(const MainMenuOptions& options = {}, QWidget* parent = nullptr);
    ~frmMainMenu() override;

    // Configures the program, opens the data disk, shows the splash while the clients load and
    // readies the window. False when the program must end (ExitCode() tells how).
    bool StartUp();

    // What runs each time control comes back to this window.
    void Activation();
    // Rebuilds the client list (only while refreshing is allowed and there are clients).
    void RefreshNameDisplay();
    // "Edit Current Client" is enabled exactly when a list line is chosen.
    void UpdateEditButton();
    // Another copy asked for this one: restore and raise what the user works in.
    void BringToFront();

    // The menu buttons, top to bottom.
    enum class Choice { EditCurrentClient, AddNewClient, SupervisorOptions, ExitApplication };

    // The operations, as the buttons and the menu run them.
    void EditCurrentClient();
    void AddNewClient();
    void SupervisorOptions();
    void ExitApplication();
    void SelectDataDriveFromMenu();
    void ToggleNumLock();
    void TogglePrintDos();
    void ShowAbout();
    void NonDeviant();
    void AutomatedCheckout();

    bool NumLock() const { return numLock_; }
    bool ListRefreshAllowed() const { return listRefresh_; }
    bool CloseOthersOnActivation() const { return closeOthers_; }
    bool Ended() const { return ended_; }
    int ExitCode() const { return exitCode_; }

    frmDriveSelect* DriveDialog();
    MenuButtons* menuButtons() const { return buttons_; }
    QListWidget* lbNameDisplay() const;
    QAction* mnuNumLock() const { return mnuNumLock_; }
    QAction* mnuPrintDos() const { return mnuPrintDos_; }
    QAction* mnuSelectDrive() const { return mnuSelectDrive_; }

signals:
    void ready();                // start-up finished; the window can be shown
    void programEnded(int code); // the program must end with this exit code

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReturnFromOperation(Choice button);
    void BuildMenu();
    void BuildWindow();
    void PlaceFrames();
    // What the data disk selection needs of this window, at start-up and from the menu.
    DriveSelectionHooks DriveHooks();
    void EndProgram(int code);
    void ListChosen();
    void ListFocusIn(Qt::FocusReason reason);
    void ListFocusOut();
    bool RefuseFullDisk();
    // Runs another feature's windows; their errors end in a message, never in a crash. Taken
    // by value: the hook that started it stays whole while it runs.
    void RunOperation(std::function<void()> operation);

    MainMenuOptions options_;
    QWidget* area_ = nullptr;
    QFrame* frMainMenu_ = nullptr;
    QGroupBox* fraClient_ = nullptr;
    QListWidget* list_ = nullptr;
    MsgPanel* msgPanel_ = nullptr;
    QLabel* imgNRVLogo_ = nullptr;
    QPushButton* cmdNonDeviant_ = nullptr;
    QPushButton* cmdCkecout_ = nullptr;
    MenuButtons* buttons_ = nullptr;
    frmDriveSelect* driveDialog_ = nullptr;
    QAction* mnuExit_ = nullptr;
    QAction* mnuSelectDrive_ = nullptr;
    QAction* mnuNumLock_ = nullptr;
    QAction* mnuPrintDos_ = nullptr;
    QAction* mnuAbout_ = nullptr;

    bool numLock_ = true;
    bool listRefresh_ = true;
    bool closeOthers_ = true;
    bool ended_ = false;
    bool ready_ = false;
    int exitCode_ = 0;
};

} // namespace varenta::ui
