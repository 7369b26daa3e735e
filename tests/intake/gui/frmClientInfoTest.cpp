#include "intake/gui/frmClientInfo.h"

#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/GuiDriver.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::intake;
using namespace varenta::testing;
using intake::InfoField;

namespace {

class ClientInfoWindow : public OnDataDisk {
protected:
    void SetUp() override { LoadDisk(2); }
    void Open(bool editMode, int current = 2) {
        Globals().EditMode = editMode;
        Globals().CurrentClient = qint16(current);
        ShowActive(&w);
    }
    QString Text(InfoField f) { return w.textField(f)->text(); }
    QString Choice(InfoField f) { return w.choiceField(f)->currentText(); }
    QString Help() { return HelpLine(&w); }
    void FocusOk() { FocusMenuButton(&w, 0); }

    frmClientInfo w;
};

TEST_F(ClientInfoWindow, NewClientTypedFieldByField) {
    const QByteArray before = data();
    Open(false);
    EXPECT_EQ(FocusName(), "txtName");
    EXPECT_EQ(Help(), intake::FieldPrompt(InfoField::Name));
    Type(QStringLiteral("Núñez\u4e2d Ángel"));
    EXPECT_EQ(Text(InfoField::Name), "Núñez Ángel"); // the unstorable one beeped
    EXPECT_EQ(messages.beeps(), 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(FocusName(), "txtID");

    Key(Qt::Key_Return); // empty ID
    EXPECT_EQ(messages.last().text, intake::FieldError(InfoField::ID));
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_EQ(messages.last().title, "QVtest");
    Type(QStringLiteral("12345678901"));
    EXPECT_EQ(Text(InfoField::ID), "1234567890"); // all the record keeps
    w.textField(InfoField::ID)->selectAll();
    Type(QStringLiteral(" n "));
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(InfoField::ID), "N");

    Type(QStringLiteral("5"));
    Key(Qt::Key_Return);
    EXPECT_EQ(FocusName(), "txtAge");
    EXPECT_EQ(Text(InfoField::Age), QString());
    EXPECT_EQ(messages.last().text, intake::FieldError(InfoField::Age));
    Type(QStringLiteral("7x"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(InfoField::Age), "7x");
    EXPECT_EQ(FocusName(), "cmbGender"); // Enter passes the date of birth by

    const int beeps = messages.beeps();
    Type(QStringLiteral("1"));
    EXPECT_EQ(Choice(InfoField::Gender), "Male");
    Type(QStringLiteral("m"));
    EXPECT_EQ(w.choiceField(InfoField::Gender)->currentIndex(), -1);
    Type(QStringLiteral("n"));
    EXPECT_EQ(Choice(InfoField::Gender), "N/A");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(w.choiceField(InfoField::Gender)->currentIndex(), -1);
    EXPECT_EQ(messages.beeps(), beeps + 2);
    Key(Qt::Key_Return);
    EXPECT_EQ(messages.last().text, intake::FieldError(InfoField::Gender));
    EXPECT_EQ(FocusName(), "cmbGender");
    Type(QStringLiteral("2"));
    Key(Qt::Key_Return);
    Type(QStringLiteral("5"));
    EXPECT_EQ(Choice(InfoField::Race), "Native American");
    Key(Qt::Key_Return);
    Key(Qt::Key_Down); // opens the list on the first entry
    Key(Qt::Key_Down);
    Key(Qt::Key_Return); // takes the highlighted entry and goes on
    EXPECT_EQ(Choice(InfoField::Education), "6th grade or less");
    EXPECT_EQ(FocusName(), "cmdMenuChoice(0)");

    // "Information OK" finds the date of birth still empty.
    Key(Qt::Key_Return);
    EXPECT_EQ(FocusName(), "txtDateOfBirth");
    EXPECT_EQ(messages.last().text, intake::FieldError(InfoField::DateOfBirth));
    EXPECT_TRUE(w.isVisible());
    Type(QStringLiteral("02/29/1999"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(FocusName(), "txtDateOfBirth");
    EXPECT_EQ(w.textField(InfoField::DateOfBirth)->selectedText(), "02/29/1999");
    Type(QStringLiteral("02/29/2000"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(FocusName(), "cmbGender");

    FocusOk();
    Key(Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(Globals().ContinueFlag);
    EXPECT_EQ(Globals().CurrentClient, 3);
    const ClientRecord& r = Globals().Clients[3];
    EXPECT_EQ(r.ClientName, Fit(QStringLiteral("Núñez Ángel"), 25));
    EXPECT_EQ(r.ClientID, Fit(QStringLiteral("N"), 10));
    EXPECT_EQ(r.Age, "7x");
    EXPECT_EQ(r.DateOfBirth, "02/29/2000");
    EXPECT_EQ(r.GenderCode + r.RaceCode + r.EducationCode, "251");
    EXPECT_EQ(r.Responses, QString(116, QLatin1Char('0')));
    EXPECT_EQ(r.TestDate, QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
    EXPECT_EQ(r.NameDeleted, "0");
    EXPECT_EQ(data(), before); // a new client is written only with its answers
    EXPECT_EQ(Globals().ClientCount, 2);
}

// The arrows in a closed choice field move to the next entry and open the list, so staff see
// the entries they move through; Enter in the list takes the entry and goes on.
TEST_F(ClientInfoWindow, ArrowsOpenTheChoiceListAndEnterGoesOn) {
    Open(false);
    QComboBox* gender = w.choiceField(InfoField::Gender);
    gender->setFocus();
    Settle();
    Key(Qt::Key_Up);
    EXPECT_EQ(gender->currentText(), "N/A");
    EXPECT_TRUE(gender->view()->isVisible());
    Key(Qt::Key_Down); // the arrows now move within the open list
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(gender->view()->isVisible());
    EXPECT_EQ(gender->currentText(), "Female");
    EXPECT_EQ(FocusName(), "cmbRace");
    EXPECT_TRUE(messages.shown().empty());

    // A code key chooses without the list; an arrow that reaches no new entry opens nothing.
    QComboBox* race = w.choiceField(InfoField::Race);
    Type(QStringLiteral("6"));
    EXPECT_EQ(race->currentText(), "Other");
    Key(Qt::Key_End);
    EXPECT_FALSE(race->view()->isVisible());
    Key(Qt::Key_Home);
    EXPECT_EQ(race->currentText(), "N/A");
    EXPECT_TRUE(race->view()->isVisible());
    Key(Qt::Key_Escape); // closes the list only
    EXPECT_FALSE(race->view()->isVisible());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(race->currentText(), "N/A");
    EXPECT_EQ(FocusName(), "cmbRace");
    // A code key typed in the open list chooses as in the closed field.
    Key(Qt::Key_Down);
    ASSERT_TRUE(race->view()->isVisible());
    Type(QStringLiteral("3"));
    EXPECT_FALSE(race->view()->isVisible());
    EXPECT_EQ(race->currentText(), "Hispanic");
}

TEST_F(ClientInfoWindow, OkWithAgeAndDateEmptyAsksForTheAge) {
    Open(false);
    Type(QStringLiteral("A"));
    Key(Qt::Key_Return);
    Type(QStringLiteral("B"));
    Key(Qt::Key_Return);
    Key(Qt::Key_Tab); // past the age
    Key(Qt::Key_Tab); // past the empty date: refused
    EXPECT_EQ(FocusName(), "txtDateOfBirth");
    Type(QStringLiteral("n"));
    Key(Qt::Key_Tab);
    w.textField(InfoField::DateOfBirth)->clear();
    for (InfoField f : {InfoField::Gender, InfoField::Race, InfoField::Education})
        w.choiceField(f)->setCurrentIndex(1);
    FocusOk();
    Key(Qt::Key_Return);
    EXPECT_EQ(FocusName(), "txtAge");
    EXPECT_EQ(messages.last().text, intake::FieldError(InfoField::Age));
    // An age left unconfirmed is checked before anything is stored.
    Type(QStringLiteral("3"));
    FocusOk();
    Key(Qt::Key_Return);
    EXPECT_EQ(FocusName(), "txtAge");
    EXPECT_EQ(Text(InfoField::Age), QString());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(ClientInfoWindow, ThirdCountedEditLocksAtOnceAndSticks) {
    Open(true);
    EXPECT_EQ(FocusName(), "cmdMenuChoice(0)");
    EXPECT_TRUE(messages.shown().empty());
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab); // past "Cancel Input" round to the name
    ASSERT_EQ(FocusName(), "txtName");
    Type(QStringLiteral("Changed"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(w.EditsMade(), 1);
    Key(Qt::Key_Return); // ID unchanged but trimmed: counts as a change when left
    EXPECT_EQ(w.EditsMade(), 2);
    Type(QStringLiteral("17"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(w.EditsMade(), 3);
    EXPECT_EQ(messages.last().title, "Edit Limit Reached");
    EXPECT_EQ(messages.last().text, "This client's information has been edited\n3 times already. "
                                    "Further editing of this\ninformation is no longer permitted.");
    for (InfoField f : {InfoField::Name, InfoField::Education})
        EXPECT_FALSE(w.field(f)->isEnabled());
    EXPECT_EQ(FocusName(), "cmdMenuChoice(0)");
    EXPECT_EQ(Help(), "No further editing permitted. Press Enter to save and continue.");
    Key(Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    LoadClients();
    EXPECT_EQ(Globals().Clients[2].ClientName, Fit(QStringLiteral("Changed"), 25));
    EXPECT_EQ(Globals().Clients[2].Age, "17");
    EXPECT_EQ(Globals().Clients[2].EditCount, "3");

    // Opened again: announced, locked, and OK goes on without writing.
    const QByteArray stored = data();
    messages.clear();
    frmClientInfo again;
    Globals().ContinueFlag = false;
    Globals().CurrentClient = 2;
    ShowActive(&again);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().text,
              "This client's information has been changed 3 times.\nNo further "
              "editing is permitted.  Press Enter to continue.");
    EXPECT_FALSE(again.field(InfoField::Age)->isEnabled());
    Key(Qt::Key_Return);
    EXPECT_FALSE(again.isVisible());
    EXPECT_TRUE(Globals().ContinueFlag);
    EXPECT_EQ(data(), stored);
}

TEST_F(ClientInfoWindow, DeletedNameIsShownLocked) {
    Globals().Clients[1].NameDeleted = QStringLiteral("1");
    SaveClient(1);
    Open(true, 1);
    EXPECT_EQ(messages.last().title, "Name Deleted");
    EXPECT_EQ(messages.last().text, "This client's name has been deleted.\nEditing "
                                    "this information is not permitted.");
    EXPECT_FALSE(w.field(InfoField::Name)->isEnabled());
    EXPECT_EQ(Help(), "Client name has been deleted. Editting is not permitted. "
                      "Press Enter to continue.");
}

// A failed write keeps the window and what was typed; a stray Escape keeps them too, and
// "Cancel Input" then leaves memory and disk alone.
TEST_F(ClientInfoWindow, FailedWriteKeepsTheTypedDataAndCancelChangesNothing) {
    const ClientRecord inMemory = Globals().Clients[2];
    const QByteArray before = data();
    Open(true);
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    Type(QStringLiteral("Retyped"));
    FocusOk();
    fileio::InjectWriteFailure(0, ENXIO);
    messages.Answer(MsgAnswer::Cancel);
    Key(Qt::Key_Return);
    fileio::ClearInjectedFailure();
    EXPECT_EQ(messages.last().text,
              "Data disk not found!\n\nInsert data disk in drive A to continue.");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(Text(InfoField::Name), "Retyped");
    EXPECT_EQ(data(), before);

    Key(Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(Text(InfoField::Name), "Retyped");
    PressMenuButton(&w, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(Globals().ContinueFlag);
    EXPECT_EQ(Globals().Clients[2], inMemory);
    EXPECT_EQ(data(), before);
}

TEST_F(ClientInfoWindow, HiddenDeveloperCommands) {
    int nonDeviants = 0;
    QStringList checkedNames;
    intake::DeveloperCommands().nonDeviant = [&] { ++nonDeviants; };
    intake::DeveloperCommands().check = [&](const std::function<void()>& storeFields) {
        storeFields();
        checkedNames << CurrentRecord().ClientName.trimmed();
    };
    Open(true, 1);
    auto* nonDeviant = w.findChild<QPushButton*>(QStringLiteral("cmdNonDeviant"));
    auto* check = w.findChild<QPushButton*>(QStringLiteral("cmdCheck"));
    ASSERT_TRUE(nonDeviant && check);
    EXPECT_FALSE(nonDeviant->isVisible());
    EXPECT_FALSE(check->isVisible());

    nonDeviant->click();
    EXPECT_EQ(nonDeviants, 1);
    // "Check" scores what the window shows: its fields go into the slot first.
    w.textField(InfoField::Name)->setText(QStringLiteral("Checked Name"));
    check->click();
    EXPECT_EQ(checkedNames, QStringList{QStringLiteral("Checked Name")});

    // Not in a new client's window: the current slot there belongs to another client.
    w.close();
    const QByteArray before = data();
    const ClientRecord inMemory = Globals().Clients[1];
    messages.clear();
    frmClientInfo fresh;
    Globals().EditMode = false;
    Globals().CurrentClient = 1;
    ShowActive(&fresh);
    fresh.findChild<QPushButton*>(QStringLiteral("cmdCheck"))->click();
    fresh.findChild<QPushButton*>(QStringLiteral("cmdNonDeviant"))->click();
    EXPECT_EQ(nonDeviants, 1);
    EXPECT_EQ(checkedNames.size(), 1);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(data(), before);
    EXPECT_EQ(Globals().Clients[1], inMemory);
}

} // namespace
