#pragma once

#include "intake/ClientInfo.h"

#include <QDialog>

#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::intake {

// "Client Information": name, ID, age, date of birth, gender, ethnicity/race and education of
// a new client (EditMode false) or of the current client (EditMode true). Every field is
// checked when Enter reaches it; "Information OK" stores the fields and sets ContinueFlag,
// "Cancel Input" (or the close box) clears it; Escape does nothing, so that a stray press never
// throws away a typed client. Changes to a stored client are counted, and the third one locks
// the fields for good.
class frmClientInfo : public QDialog {
    Q_OBJECT
public:
    explicit frmClientInfo(QWidget* parent = nullptr);

    // The shared edit flag (GlobalState::EditMode), set before the window is shown.
    bool EditMode() const;
    // The shared flag of the scan path (GlobalState::ScanEditMode).
    bool ScanEditMode() const;
    void SetScanEditMode(bool on);

    void RecordToScreen();
    void RecordToDB();
    static bool GoodDate(const QString& szDate) { return intake::GoodDate(szDate); }

    int EditsMade() const { return form_.EditsMade; }
    const ClientInfoForm& form() const { return form_; }

    QLineEdit* textField(InfoField f) const;
    QComboBox* choiceField(InfoField f) const;
    QWidget* field(InfoField f) const { return fields_[size_t(f)]; }

public slots:
    void reject() override; // the close box: as "Cancel Input"

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Load();
    void Activate();
    void ToScreen();
    void FromScreen();
    void LockClientFields();
    void ShowEditLimit();
    void CountFieldEdit(InfoField f);
    void UpdateOkHelp();
    // The Enter check of a field; on success the focus moves along.
    bool EnterCheck(InfoField f);
    void FieldFocusIn(InfoField f);
    void FieldFocusOut(InfoField f, QFocusEvent* event);
    bool ChoiceKey(InfoField f, QKeyEvent* key);
    // The arrows, Page Up, Page Down, Home and End in a closed choice field.
    bool MoveThroughList(QComboBox* combo, QKeyEvent* key);
    // A key in the open drop-down list of a choice field.
    bool ListKey(InfoField f, QKeyEvent* key);
    QWidget* NextAfter(InfoField f) const;
    void InformationOk();
    void CancelInput();
    void NonDeviant();
    void Check();

    ClientInfoForm form_;
    bool loaded_ = false;
    bool closing_ = false;
    bool checkingDate_ = false;

    QFrame* frClient_;
    std::array<QLabel*, InfoFieldCount> lblInfo_{};
    std::array<QWidget*, InfoFieldCount> fields_{};
    ui::MsgPanel* msgPanel_;
    ui::MenuButtons* buttons_;
    QPushButton* cmdNonDeviant_;
    QPushButton* cmdCheck_;
};

} // namespace varenta::intake
