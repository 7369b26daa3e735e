#include "administration/QuestionDb.h"

#include "administration/QuestionDbFixture.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::administration;
using namespace varenta::testing;

namespace {

TEST(QuestionDb, TablesInCreationOrderRowsInStoredOrderFieldsByName) {
    TempDir dir;
    // Spanish first: the stored order, not the alphabet, decides.
    MakeQuestionDb(dir.path(), {QStringLiteral("Spanish"), QStringLiteral("English")});
    QuestionDb db;
    EXPECT_EQ(db.TableNames(), (QStringList{QStringLiteral("Spanish"), QStringLiteral("English")}));
    // Table names match exactly.
    EXPECT_EQ(CaughtError([&] { db.OpenTable(QStringLiteral("english")); }).number(),
              qdb::TableNotFound);

    QuestionTable t = db.OpenTable(QStringLiteral("English"));
    db.Close();
    ASSERT_EQ(t.RecordCount(), 116);
    EXPECT_FALSE(t.AtBOF());
    int expected = 1;
    for (t.MoveFirst(); !t.AtEOF(); t.MoveNext())
        EXPECT_EQ(t.Field(QStringLiteral("ID")).toInt(), expected++);
    EXPECT_EQ(expected, 117);
    t.MoveNext(); // stays at the end
    EXPECT_TRUE(t.AtEOF());
    t.MovePrevious();
    EXPECT_EQ(t.Field(QStringLiteral("Id")).toInt(), 116);
    EXPECT_EQ(t.Text(QStringLiteral("testquestion")), "E statement 116 ñ");
    t.MoveFirst();
    t.MovePrevious();
    EXPECT_TRUE(t.AtBOF());
    EXPECT_EQ(CaughtError([&] { t.Field(QStringLiteral("ID")); }).number(), qdb::NoCurrentRecord);

    // Fields by name without regard to case; empty answers are Null.
    t.MoveTo(0);
    EXPECT_EQ(t.Text(QStringLiteral("Answer2")), "False");
    EXPECT_TRUE(t.IsNull(QStringLiteral("ANSWER3")));
    EXPECT_TRUE(t.IsNull(QStringLiteral("choiceaudio5")));
    EXPECT_EQ(t.Text(QStringLiteral("ANSWER3")), QString());
    EXPECT_EQ(t.Text(QStringLiteral("ChoiceAudio2")), "a1_2");
    t.MoveTo(63);
    EXPECT_EQ(t.Text(QStringLiteral("answer4")), "Very Often or Always");
    EXPECT_EQ(CaughtError([&] { t.Field(QStringLiteral("Answer6")); }).number(),
              qdb::FieldNotFound);
}

TEST(QuestionDb, MissingDamagedOrIncompleteDatabasesNameTheFile) {
    TempDir dir;
    const QString missing = dir.file(QStringLiteral("qv32.mdb"));
    VError e = CaughtError([&] { QuestionDb db(missing); });
    EXPECT_EQ(e.number(), err::DbCannotFindFile);
    EXPECT_TRUE(e.description().contains(missing));

    WriteFile(missing, QByteArray(4096, 'x'));
    e = CaughtError([&] { QuestionDb db(missing); });
    EXPECT_EQ(e.number(), err::DbCannotOpen);
    EXPECT_TRUE(e.description().contains(missing));

    // A table that lacks a question column.
    const QString partial = dir.file(QStringLiteral("partial.mdb"));
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("mk"));
        db.setDatabaseName(partial);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE English (ID INTEGER, TestQuestion TEXT)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("mk"));
    QuestionDb db(partial);
    e = CaughtError([&] { db.OpenTable(QStringLiteral("English")); });
    EXPECT_EQ(e.number(), err::DbCannotOpen);
    EXPECT_TRUE(e.description().contains("QuestionAudio"));
}

TEST(QuestionDb, ReadingChangesNothingAndLeavesNoConnection) {
    TempDir dir;
    const QString path = MakeQuestionDb(dir.path());
    const QByteArray before = ReadFile(path);
    {
        QuestionDb a;
        QuestionDb b; // two at once: each has its own connection
        a.OpenTable(QStringLiteral("English"));
        b.OpenTable(QStringLiteral("Spanish"));
    }
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
}

// Faults in an item source name file and line; a failed build keeps the old database.
TEST(QuestionDb, ItemSourceFaultsAndFailedBuilds) {
    TempDir dir;
    const QString path = MakeQuestionDb(dir.path(), {QStringLiteral("English")});
    const QByteArray before = ReadFile(path);
    const QString src = dir.file(QStringLiteral("Bad.tsv"));
    const QByteArray good = ItemSourceText();
    QByteArrayList lines = good.split('\n');
    lines.removeAt(6); // item 5 missing: the row after it is reported
    const std::pair<QByteArray, QString> faults[] = {
        {QByteArray(good).replace("TestQuestion", "Question"), src + QStringLiteral(":2:")},
        {lines.join('\n'), QStringLiteral(":7: item ID 5 expected")},
        {QByteArray(good).replace("\n116\t", "\n#116\t"), QStringLiteral("115 items")},
        {"nothing\n", src},
    };
    for (const auto& [source, said] : faults) {
        SCOPED_TRACE(said.toStdString());
        WriteFile(src, source);
        const VError e = CaughtError([&] { ReadItemSource(src); });
        EXPECT_NE(e.number(), 0);
        EXPECT_TRUE(e.description().contains(said)) << qPrintable(e.description());
        EXPECT_NE(CaughtError([&] {
                      BuildQuestionDb({dir.file(QStringLiteral("English.tsv")), src}, path);
                  }).number(),
                  0);
        EXPECT_EQ(ReadFile(path), before);
    }
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*building*")}, QDir::Files),
              QStringList());

    // Windows line ends are read as well.
    WriteFile(src, QByteArray(good).replace("\n", "\r\n"));
    EXPECT_EQ(ReadItemSource(src).RecordCount(), 116);

    // A source far larger than any real one is not read; a long faulty cell is quoted short.
    WriteFile(src, good + QByteArray(5 << 20, '#'));
    EXPECT_EQ(CaughtError([&] { ReadItemSource(src); }).number(), err::Overflow);
    WriteFile(src, QByteArray(good).replace("\n5\t", "\n" + QByteArray(100000, '5') + "\t"));
    const VError e = CaughtError([&] { ReadItemSource(src); });
    EXPECT_TRUE(e.description().contains("item ID 5 expected")) << qPrintable(e.description());
    EXPECT_LT(e.description().size(), 300);
}

} // namespace
