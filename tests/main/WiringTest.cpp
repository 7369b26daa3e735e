// The program's one wiring place fills every hand-over point, and the one reset puts back
// every module's state, so that nothing one test leaves behind reaches the next.
#include "main/Wiring.h"

#include "administration/TestSpec.h"
#include "administration/gui/frmSelectEntryMethod.h"
#include "app/FileIO.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "intake/ClientInfo.h"
#include "reports/print/FakePrintService.h"
#include "reports/print/ReportPrint.h"
#include "scoring/ScoreAndPrint.h"
#include "store/Comments.h"
#include "support/TestSupport.h"
#include "ui/MainMenuHooks.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace varenta;
using namespace varenta::testing;

namespace {

TEST(Wiring, EveryHandOverPointIsFilled) {
    main::WireWindows();
    const ui::MainMenuHooks& menu = ui::MainMenu();
    EXPECT_TRUE(menu.editCurrentClient && menu.addNewClient && menu.supervisorOptions &&
                menu.automatedCheckout && menu.nonDeviantResponses);
    EXPECT_EQ(menu.nonDeviantResponses(), administration::NonDeviantResponses());
    EXPECT_TRUE(intake::DeveloperCommands().check && intake::DeveloperCommands().nonDeviant);
    const reports::PrintHooks& print = reports::PrintUi();
    EXPECT_TRUE(print.busy && print.normal && print.choosePdfPath);
}

TEST(Wiring, ResetPutsBackEveryModulesState) {
    TempDir disk;
    WriteDataDisk(disk.path(), {SampleClient(1)});
    UseDataDisk(disk.path());
    UseProgramDir();
    WriteFile(disk.file("Comments.dat"), QByteArray(300, 'c'));
    LoadComments();
    scoring::LoadScoringTables();
    scoring::Scores().RawScore[1] = 7;
    administration::SetInstructionTexts(QStringLiteral("English"));
    Globals().ScanEditMode = true;
    main::WireWindows();
    administration::EntryMethod().presentTest = [](QWidget*, const QString&) {};
    reports::SetPrintService(std::make_unique<FakePrintService>());
    ScriptedMessages sink;
    fileio::InjectFailure(fileio::Op::Write, EIO);
    ASSERT_FALSE(CommentText(1).isEmpty());
    ASSERT_FALSE(scoring::Texts().ScaleName[1].isEmpty());

    ResetGlobals();
    EXPECT_FALSE(Globals().ScanEditMode);
    EXPECT_TRUE(Globals().DataPath.isEmpty());
    EXPECT_TRUE(CommentText(1).isEmpty());
    EXPECT_TRUE(scoring::Texts().ScaleName[1].isEmpty());
    EXPECT_EQ(scoring::Tables().NormCount[1][1][1], 0);
    EXPECT_EQ(scoring::Scores().RawScore[1], 0);
    EXPECT_TRUE(administration::InstructionText(0).isEmpty());
    EXPECT_FALSE(ui::MainMenu().editCurrentClient || ui::MainMenu().nonDeviantResponses);
    EXPECT_FALSE(intake::DeveloperCommands().check || administration::EntryMethod().presentTest);
    EXPECT_FALSE(reports::PrintUi().busy || reports::PrintUi().choosePdfPath);
    EXPECT_EQ(dynamic_cast<FakePrintService*>(&reports::CurrentPrintService()), nullptr);
    EXPECT_EQ(InstallMessageSink(nullptr), nullptr);
    EXPECT_NO_THROW(fileio::CreateNew(disk.file("after"), QByteArrayLiteral("x")));
}

} // namespace
