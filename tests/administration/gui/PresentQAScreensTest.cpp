// Pictures of the presentation for the user guide, on the shipped items. Run by hand on a real
// display server (for example under xvfb-run with QT_QPA_PLATFORM=xcb), with
// VARENTA_SCREENS_DIR naming the folder for the pictures and --gtest_also_run_disabled_tests.
#include "administration/gui/frmPresentQA.h"

#include "administration/PresentationFakes.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace varenta {
namespace {

void Snap(QWidget* w, const QString& name) {
    QApplication::processEvents();
    QTest::qWait(200);
    const QString dir = qEnvironmentVariable("VARENTA_SCREENS_DIR");
    ASSERT_FALSE(dir.isEmpty());
    QDir().mkpath(dir);
    ASSERT_TRUE(w->grab().save(QDir(dir).filePath(name)));
}

void Pictures(const QString& language, bool instructions, const QString& itemPicture) {
    testing::TempDir tmp;
    testing::WriteDataDisk(tmp.file("disk"), {testing::SampleClient(1)});
    testing::UseDataDisk(tmp.file("disk"));
    testing::UseProgramDir();
    Globals().QuestionDbPath = testing::BuiltProgramDir() + "/qv32.mdb";
    Globals().CurrentClient = 2;
    ScriptedMessages messages;
    testing::FakeWaveDevice device;
    frmPresentQA form;
    form.SetLanguage(language);
    form.SetWaveDevice(&device);
    ASSERT_TRUE(form.Prepare());
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    if (instructions)
        Snap(&form, QStringLiteral("present-instructions-en.png"));
    // To item 5, with its second answer highlighted.
    Presentation* p = form.presentation();
    while (p->InstructionsVisible() || p->CurrentItemId() < 5) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    Snap(&form, itemPicture);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier | Qt::AltModifier);
}

TEST(PresentQAScreens, DISABLED_Pictures) {
    Pictures(QStringLiteral("English"), true, QStringLiteral("present-item-en.png"));
    Pictures(QStringLiteral("Spanish"), false, QStringLiteral("present-item-es.png"));
}

} // namespace
} // namespace varenta
