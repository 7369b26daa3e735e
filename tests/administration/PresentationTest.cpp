#include "administration/Presentation.h"

#include "PresentationFakes.h"
#include "QuestionDbFixture.h"
#include "administration/PresentationItems.h"
#include "administration/QuestionDb.h"
#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace varenta {
namespace {

using testing::FakeWaveDevice;

// A data disk with two clients and a new client in slot 3, the sound folder of the language,
// and the presentation driven the way its window drives it.
class PresentationRun : public ::testing::Test {
protected:
    void Begin(const QString& language = QStringLiteral("English"),
               std::vector<PresentedItem> items = testing::MakeItems()) {
        disk = tmp.file(QStringLiteral("disk"));
        testing::WriteDataDisk(disk, {testing::SampleClient(1), testing::SampleClient(2)});
        testing::UseDataDisk(disk);
        auto& g = Globals();
        g.CurrentClient = 3;
        g.Clients[3] = testing::SampleClient(3);
        g.Clients[3].Responses = QString(116, u'0');
        g.ContinueFlag = false;
        testing::MakeSoundFolder(tmp.path(), language, items);
        audio = std::make_unique<WaveAudio>(&device, tmp.path(), language);
        p = std::make_unique<Presentation>(std::move(items), language, *audio);
        p->Load();
        p->Activate();
        Settle();
    }
    // What the window does with a focus request: the focus handlers run.
    void Settle() {
        switch (p->TakeFocusRequest()) {
        case FocusRequest::Instructions:
            p->InstructionsFocused();
            break;
        case FocusRequest::Statement:
            if (!p->StatementFocused())
                Settle();
            break;
        case FocusRequest::FirstAnswer:
            p->AnswerFocused(0);
            break;
        case FocusRequest::None:
            break;
        }
    }
    void Enter() {
        p->ContinueFromInstructions();
        Settle();
    }
    void Choose(int i) {
        p->AnswerFocused(i);
        p->SelectAnswer(i);
        Settle();
    }
    // Answers items until the one on screen is `id`, passing any instruction screen.
    void AnswerUpTo(int id, int choice = 0) {
        while (p->state() == Presentation::State::Running &&
               (p->InstructionsVisible() || p->CurrentItemId() < id)) {
            if (p->InstructionsVisible())
                Enter();
            else
                Choose(choice);
        }
    }
    qint64 DiskSize() const { return testing::ReadFile(disk + "/DATA401.QV").size(); }

    testing::TempDir tmp;
    QString disk;
    ScriptedMessages messages;
    FakeWaveDevice device;
    std::unique_ptr<WaveAudio> audio;
    std::unique_ptr<Presentation> p;
};

// The whole test without a window, going back once over a section end on the way.
TEST_F(PresentationRun, FullRunStoresTheAnswersOnTheDataDisk) {
    Begin();
    const qint64 before = DiskSize();
    QString expected;
    bool wentBack = false;
    while (p->state() == Presentation::State::Running) {
        if (p->InstructionsVisible()) {
            Enter();
            continue;
        }
        if (p->CurrentItemId() == 64 && !wentBack) {
            wentBack = true;
            p->GoBack(); // item 63 again, without the section 2 instructions
            Settle();
            EXPECT_EQ(p->CurrentItemId(), 63);
            EXPECT_FALSE(p->InstructionsVisible());
            EXPECT_EQ(device.last(), "e063.wav");
            expected.chop(1);
        }
        const int choice = p->CurrentItemId() % p->VisibleAnswerCount();
        expected += QChar(u'1' + choice);
        Choose(choice);
        if (p->CurrentItemId() == 64 || p->CurrentItemId() == 98) {
            EXPECT_TRUE(p->InstructionsVisible());
            EXPECT_EQ(p->InstructionBoxText(), InstructionText(p->CurrentItemId() == 64 ? 2 : 3));
        }
    }
    ASSERT_EQ(p->state(), Presentation::State::Completed);
    ASSERT_EQ(expected.size(), 116);
    EXPECT_EQ(p->ResponseString(), expected);
    // The section 1 note twice (63 was answered twice), section 2's, then the closing one.
    ASSERT_EQ(messages.shown().size(), 4u);
    EXPECT_EQ(messages.last().title, "Presentation Note");
    EXPECT_EQ(messages.last().text, "You have completed the test. Thank you for your "
                                    "participation.\n\nPress Enter to continue.");
    EXPECT_EQ(Globals().ClientCount, 3);
    EXPECT_TRUE(Globals().ContinueFlag);
    EXPECT_EQ(DiskSize(), before + RecordLength);

    // What is on the disk is what was answered, and the other clients are untouched.
    ResetGlobals();
    testing::UseDataDisk(disk);
    ASSERT_EQ(Globals().ClientCount, 3);
    EXPECT_EQ(Globals().Clients[3].Responses, expected);
    EXPECT_EQ(Globals().Clients[2], testing::SampleClient(2));
}

TEST_F(PresentationRun, SpanishTextsAndFolder) {
    Begin(QStringLiteral("Spanish"), testing::MakeItems(QStringLiteral("S")));
    EXPECT_EQ(p->Caption(), "Presentación de preguntas");
    EXPECT_TRUE(audio->folder().endsWith("/QVTEST/sound/Spanish"));
    EXPECT_EQ(p->InstructionBoxText(), InstructionText(0));
    EXPECT_TRUE(InstructionText(0).startsWith("Instrucciones"));
    EXPECT_EQ(p->HelpLine(), "Oprima la tecla «Enter» para seguir.");
    Enter();
    Enter();
    EXPECT_EQ(p->HelpLine(), "Oprima las teclas de flechas Hacia Arriba o Hacia Abajo para "
                             "iluminar su respuesta. Luego oprima la tecla «Enter». Oprima la "
                             "tecla «F10» para ver la pregunta anterior.");
    EXPECT_EQ(device.last(), "s001.wav");
    EXPECT_TRUE(device.paths.last().contains("/QVTEST/sound/Spanish/"));
    p->AnswerFocused(0);
    EXPECT_EQ(p->HelpLine(), "Ilumine la respuesta que usted escoja y luego oprima la tecla "
                             "«Enter».");
    AnswerUpTo(63);
    Choose(0);
    EXPECT_EQ(messages.last().title, "Nota de Presentación");
    EXPECT_EQ(messages.last().text, "Usted ha terminado esta parte de la prueba. Oprima la tecla "
                                    "«Enter» para seguir.");
    AnswerUpTo(116);
    Choose(0);
    EXPECT_EQ(p->state(), Presentation::State::Completed);
    EXPECT_EQ(messages.last().title, "Nota de Presentacion");
    EXPECT_EQ(messages.last().text, "Usted ha terminado la prueba. Se le agradece su "
                                    "participacion.\n\nOprima la tecla <<Enter>> para terminar.");
}

TEST(PresentedItems, IncompleteTablesAreRefusedWithTheReason) {
    const auto refused = [](std::vector<PresentedItem> items) {
        try {
            CheckPresentedItems(items, QStringLiteral("English"));
        } catch (const VError& e) {
            return e.description();
        }
        return QString();
    };
    EXPECT_EQ(refused(testing::MakeItems()), "");
    auto items = testing::MakeItems();
    items.erase(items.begin() + 40);
    EXPECT_EQ(refused(items), "The English question table is incomplete: item 41 is missing "
                              "(row 41 holds item 42).");
    items = testing::MakeItems();
    items.pop_back();
    EXPECT_EQ(refused(items),
              "The English question table is incomplete: it holds 115 items, the test has 116.");
    items = testing::MakeItems();
    items[9].answers[1].clear();
    EXPECT_TRUE(refused(items).contains("item 10 has fewer than two answers"));
    items = testing::MakeItems();
    items[0].statement = "  ";
    EXPECT_TRUE(refused(items).contains("item 1 has no statement"));
}

TEST(PresentedItems, ReadFromTheQuestionDatabase) {
    testing::TempDir tmp;
    testing::MakeQuestionDb(tmp.path(), {QStringLiteral("English")});
    QuestionDbItems source;
    const auto items = source.Items(QStringLiteral("English"));
    ASSERT_EQ(items.size(), 116u);
    EXPECT_EQ(items[63].id, 64);
    EXPECT_EQ(items[63].answers[3], "Very Often or Always");
    EXPECT_EQ(items[0].answers[2], ""); // Null: no third answer
    EXPECT_EQ(items[0].choiceAudio[1], "a1_2");
    EXPECT_EQ(items[115].questionAudio, "q116");
    // No Spanish table: a clear error, no items.
    try {
        source.Items(QStringLiteral("Spanish"));
        ADD_FAILURE() << "no error";
    } catch (const VError& e) {
        EXPECT_EQ(e.number(), qdb::TableNotFound);
    }
    // A table whose rows skip an item or lack a number is refused.
    QStringList columns = QuestionColumns();
    std::vector<std::vector<QVariant>> rows;
    for (int id = 1; id <= 116; ++id) {
        std::vector<QVariant> row(columns.size());
        row[0] = id == 50 ? QVariant(QStringLiteral("fifty")) : QVariant(id);
        row[1] = QStringLiteral("s");
        row[3] = QStringLiteral("True");
        row[4] = QStringLiteral("False");
        rows.push_back(row);
    }
    const auto table = QuestionTable::FromRows("English", "x", columns, rows);
    EXPECT_THROW(PresentedItemsFrom(table), VError);
}

} // namespace
} // namespace varenta
