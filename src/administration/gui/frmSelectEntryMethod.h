#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QFrame;
class QGroupBox;
class QWidget;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::administration {

// Where the new-client chain hands over to other windows, for tests to replace; empty, the
// program's own windows are used.
struct EntryMethodHooks {
    // Gives the test on screen in the named language. It stores the answers itself and sets
    // ContinueFlag when the test is complete. Empty: the presentation window (PresentTest).
    std::function<void(QWidget* parent, const QString& language)> presentTest;
    // Asks for the supervisor password; true when it was given. Empty: the shell's prompt.
    std::function<bool(QWidget* parent)> askSupervisorPassword;
};
EntryMethodHooks& EntryMethod();

// "Entry Method": how a new client's answers will be obtained, then the chain of windows for
// that method: client information, court history, and either the language choice and the
// on-screen test followed by the supervisor password, or the answer-sheet grid.
class frmSelectEntryMethod : public QDialog {
    Q_OBJECT
public:
    enum Method { AdministerTest = 0, AnswerSheet = 1, ScanSheet = 2, CancelEntry = 3 };

    explicit frmSelectEntryMethod(QWidget* parent = nullptr);

    // The language the on-screen test was (or would be) given in.
    const QString& Language() const { return language_; }

public slots:
    void reject() override; // Escape and the close box: as "Cancel New Client Entry"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Chosen(int i);
    void AdministerTestToClient();
    void EnterTestDataFromAnswerSheet();
    // The question database must be readable before anything is typed: a missing one would
    // otherwise be found only after the client's information and court history.
    bool QuestionDbUsable(bool forScreen);
    void NoLanguageTable();
    // The new client's information and court history; false when either was cancelled.
    bool TakeClientDetails();
    void RunPresentation();
    void Finish();

    QString language_;
    bool busy_ = false;
    bool done_ = false;
    QGroupBox* fraSelectMethod_;
    QFrame* frBlank_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtons* buttons_;
};

} // namespace varenta::administration
