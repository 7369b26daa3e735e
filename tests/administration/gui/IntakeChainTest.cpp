#include "administration/gui/IntakeChains.h"

#include "administration/QuestionDbFixture.h"
#include "administration/TestSpec.h"
#include "administration/gui/frmNewEntry.h"
#include "administration/gui/frmSelectEntryMethod.h"
#include "administration/gui/frmSelectLanguage.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "intake/CourtHistory.h"
#include "intake/gui/frmClientInfo.h"
#include "intake/gui/frmCourtHistory.h"
#include "store/ClientStore.h"
#include "store/SaveWithRetry.h"
#include "support/AuditCheck.h"
#include "support/GuiDriver.h"
#include "support/ModalScript.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::administration;
using namespace varenta::testing;

namespace {

// Types a whole client from the keyboard, the way staff would.
void TypeClient(intake::frmClientInfo* w) {
    EXPECT_EQ(FocusName(), "txtName");
    const std::pair<const char*, Qt::Key> entries[] = {
        {"Peña Ruiz", Qt::Key_Return}, {"C-1", Qt::Key_Return}, {"15", Qt::Key_Tab},
        {"03/04/2010", Qt::Key_Tab},   {"2", Qt::Key_Return},   {"3", Qt::Key_Return},
        {"5", Qt::Key_Return}};
    for (auto [text, key] : entries) {
        Type(QString::fromUtf8(text));
        Key(key);
    }
    EXPECT_EQ(FocusName(), "cmdMenuChoice(0)");
    Key(Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
}

void TypeCourt(intake::frmCourtHistory* w) {
    for (const char* a : {"12", "1", "0", "2", "N", "3", "0", "1"}) {
        Type(QString::fromLatin1(a));
        Key(Qt::Key_Return);
    }
    Key(Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
}

// Chooses entry method `button`, then types the client and the court history (`windows` of
// them).
void ThroughCourt(ModalScript& script, int button, int windows = 2) {
    script.Then<frmSelectEntryMethod>(
        [button](frmSelectEntryMethod* w) { PressMenuButton(w, button); });
    if (windows >= 1)
        script.Then<intake::frmClientInfo>(TypeClient);
    if (windows >= 2)
        script.Then<intake::frmCourtHistory>(TypeCourt);
}

class IntakeChain : public OnDataDisk {
protected:
    void SetUp() override {
        LoadDisk(2);
        MakeQuestionDb(program.path(), {QStringLiteral("English")});
        passwordAsked = 0;
        EntryMethod().askSupervisorPassword = [this](QWidget*) { return ++passwordAsked >= 3; };
    }

    int passwordAsked = 0;
};

// The answer-sheet chain adds one client; the on-screen chain another, ending with the
// supervisor's password.
TEST_F(IntakeChain, EachChainAddsOneClient) {
    ModalScript script;
    const QByteArray before = data();
    script.Then<frmSelectEntryMethod>([](frmSelectEntryMethod*) {
        EXPECT_EQ(FocusName(), "cmdMenuChoice(0)");
        Key(Qt::Key_Tab); // the hidden scan button is passed over
        EXPECT_EQ(FocusName(), "cmdMenuChoice(1)");
        Key(Qt::Key_Tab);
        EXPECT_EQ(FocusName(), "cmdMenuChoice(3)");
        Key(Qt::Key_Backtab);
        Key(Qt::Key_Return);
    });
    script.Then<intake::frmClientInfo>(TypeClient);
    script.Then<intake::frmCourtHistory>(TypeCourt);
    script.Then<frmNewEntry>([](frmNewEntry*) {
        Type(NonDeviantResponses());
        Key(Qt::Key_Tab);
        Key(Qt::Key_Return);
    });
    AddNewClient();
    EXPECT_EQ(Globals().ClientCount, 3);
    const QByteArray after = data();
    ASSERT_EQ(after.size(), 3 * 195);
    EXPECT_EQ(after.left(2 * 195), before);
    LoadClients();
    const ClientRecord& r = Globals().Clients[3];
    EXPECT_EQ(r.ClientName.trimmed(), "Peña Ruiz");
    EXPECT_EQ(r.ClientID.trimmed(), "C-1");
    EXPECT_EQ(r.DateOfBirth, "03/04/2010");
    EXPECT_EQ(r.GenderCode + r.RaceCode + r.EducationCode, "235");
    EXPECT_EQ(r.Age1stArrest + r.DrugArrests, "121 ");
    EXPECT_EQ(r.Responses, NonDeviantResponses());
    EXPECT_EQ(r.EditCount + r.NameDeleted, "00");
    EXPECT_EQ(passwordAsked, 0); // only the on-screen test ends with the password
    EXPECT_EQ(AuditEvents(disk.path()), QStringList{"added-from-sheet 3"});

    QString givenIn;
    EntryMethod().presentTest = [&](QWidget*, const QString& language) {
        givenIn = language;
        CurrentRecord().Responses = NonDeviantResponses();
        if (SaveClientWithRetry(Globals().CurrentClient))
            ++Globals().ClientCount;
        Globals().ContinueFlag = true;
    };
    ThroughCourt(script, 0);
    AddNewClient();
    EXPECT_EQ(givenIn, "English"); // one language: no language window
    const auto begin =
        messages.texts().indexOf(QStringLiteral("Press the Enter key to begin the test."));
    ASSERT_GE(begin, 0);
    EXPECT_EQ(messages.shown()[size_t(begin)].title, "Varenta");
    EXPECT_EQ(passwordAsked, 3); // asked again until given
    EXPECT_EQ(Globals().ClientCount, 4);
}

// Cancel at each step, a missing language table and a full disk all leave the data file as it
// was.
TEST_F(IntakeChain, NothingIsAddedWhenCancelledOrRefused) {
    ModalScript script;
    const QByteArray before = data();
    const auto expectNothingAdded = [&](const char* step) {
        EXPECT_EQ(data(), before) << step;
        EXPECT_EQ(Globals().ClientCount, 2) << step;
        EXPECT_LE(Globals().CurrentClient, 2) << step;
        EXPECT_EQ(Globals().Clients[3].ClientName.trimmed(), QString()) << step;
    };

    ThroughCourt(script, 3, 0);
    AddNewClient();
    expectNothingAdded("entry method");

    ThroughCourt(script, 1, 0);
    script.Then<intake::frmClientInfo>([](intake::frmClientInfo* w) {
        Type(QStringLiteral("Someone"));
        Key(Qt::Key_Escape); // a stray Escape keeps the typed client
        EXPECT_TRUE(w->isVisible());
        PressMenuButton(w, 1);
    });
    AddNewClient();
    expectNothingAdded("client information");

    ThroughCourt(script, 1, 1);
    script.Then<intake::frmCourtHistory>([](intake::frmCourtHistory* w) { PressMenuButton(w, 1); });
    AddNewClient();
    expectNothingAdded("court history");
    EXPECT_EQ(Globals().CurrentClient, 1);

    ThroughCourt(script, 1);
    script.Then<frmNewEntry>([](frmNewEntry* w) {
        Type(QStringLiteral("1212"));
        PressMenuButton(w, 1);
    });
    AddNewClient();
    expectNothingAdded("answer grid");

    // Two languages: the language window, cancelled.
    MakeQuestionDb(program.path(), {QStringLiteral("English"), QStringLiteral("Spanish")});
    ThroughCourt(script, 0);
    script.Then<frmSelectLanguage>([](frmSelectLanguage* w) {
        EXPECT_EQ(w->LanguageCaption(0), "English");
        EXPECT_EQ(w->LanguageCaption(1), "Spanish");
        EXPECT_FALSE(w->findChild<QWidget*>(QStringLiteral("sspMenuChoice(2)"))->isVisible());
        PressMenuButton(w, 3);
    });
    AddNewClient();
    expectNothingAdded("language");

    // The language chosen is the one the test is given in; a test left without answers keeps
    // nothing (the presentation discards the new client as a cancel would).
    QString givenIn;
    EntryMethod().presentTest = [&](QWidget*, const QString& language) {
        givenIn = language;
        intake::DiscardNewClient();
        Globals().ContinueFlag = false;
    };
    ThroughCourt(script, 0);
    script.Then<frmSelectLanguage>([](frmSelectLanguage* w) { PressMenuButton(w, 1); });
    AddNewClient();
    EXPECT_EQ(givenIn, "Spanish");
    expectNothingAdded("presentation");

    // No table by the expected name: said before anything is typed.
    MakeQuestionDb(program.path(), {QStringLiteral("english")});
    script.Then<frmSelectEntryMethod>([this](frmSelectEntryMethod* w) {
        PressMenuButton(w, 0);
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(messages.last().text.contains("no English or Spanish"));
        PressMenuButton(w, 1); // and the answer sheet needs the English table as well
        EXPECT_TRUE(messages.last().text.startsWith("Error 3078:"));
        PressMenuButton(w, 3);
    });
    AddNewClient();
    expectNothingAdded("no language table");
    EXPECT_EQ(passwordAsked, 0);
    EXPECT_EQ(AuditEvents(disk.path()), QStringList()); // nothing done, nothing recorded

    // A full disk is refused before any window opens.
    LoadDisk(MaxClients);
    AddNewClient();
    EXPECT_EQ(messages.last().title, "Data Disk Full");
    EXPECT_EQ(Globals().ClientCount, MaxClients);
}

TEST_F(IntakeChain, EditChainWritesOnlyTheCurrentRecord) {
    ModalScript script;
    const QByteArray before = data();
    Globals().CurrentClient = 1;
    script.Then<intake::frmClientInfo>([](intake::frmClientInfo*) { Key(Qt::Key_Return); });
    script.Then<intake::frmCourtHistory>([](intake::frmCourtHistory*) { Key(Qt::Key_Return); });
    script.Then<frmNewEntry>([](frmNewEntry*) {
        Type(QStringLiteral("0"));
        Key(Qt::Key_Tab);
        Key(Qt::Key_Tab);
        Key(Qt::Key_Tab);
        Key(Qt::Key_Return);
    });
    EditCurrentClient();
    const QByteArray after = data();
    EXPECT_EQ(after.mid(195), before.mid(195));
    EXPECT_EQ(after.mid(76, 1), QByteArray("0"));
    EXPECT_EQ(after.mid(77, 115), before.mid(77, 115));
    EXPECT_EQ(Globals().ClientCount, 2);
    EXPECT_EQ(AuditEvents(disk.path()),
              (QStringList{"edited 1", "edited 1", "answers-from-sheet 1"}));
}

} // namespace
