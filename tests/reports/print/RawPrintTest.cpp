#include "reports/print/ReportPrint.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::print;
using namespace varenta::testing;

namespace {

// Puts a fake spooler command first on PATH for the length of a test.
class FakeLp {
public:
    explicit FakeLp(const QString& body) : oldPath_(qgetenv("PATH")) {
        const QString script = bin_.file("lp");
        WriteFile(script, ("#!/bin/sh\n" + body + "\n").toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", (bin_.path() + ":").toUtf8() + oldPath_);
    }
    // No spooler installed at all.
    FakeLp() : oldPath_(qgetenv("PATH")) { qputenv("PATH", bin_.path().toUtf8()); }
    ~FakeLp() { qputenv("PATH", oldPath_); }
    QString file(const QString& name) const { return bin_.file(name); }

private:
    TempDir bin_;
    QByteArray oldPath_;
};

class RawPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHooks();
        Globals().ProgramDir = dir.path();
        Globals().PrintDOS = true;
        // Stored in capitals: the file is found without regard to case.
        WriteFile(dir.file("REPORT.PRN"), report);
    }
    TempDir dir;
    const QByteArray report = QByteArray("page one\r\n\f\r\npage two\r\n");
};

} // namespace

TEST_F(RawPrintTest, AppendsAFormFeedLineAndSpoolsTheFileRawUnlessIntoAPdf) {
    FakeLp lp(QStringLiteral("DIR=$(dirname \"$0\")\nprintf '%s\\n' \"$@\" > \"$DIR/args\"\n"
                             "for a; do last=$a; done\ncp \"$last\" \"$DIR/got\""));
    // Into a PDF: pages, and neither the file nor the spooler is touched.
    EXPECT_EQ(ReadReportToPrinterC(PrintTarget::PdfFile(dir.file("c.pdf"))).sheets, 2);
    EXPECT_EQ(ReadFile(dir.file("REPORT.PRN")), report);
    EXPECT_FALSE(QFile::exists(lp.file("args")));

    QStringList hooks;
    Hooks().busy = [&] { hooks << "busy"; };
    Hooks().normal = [&] { hooks << "normal"; };
    EXPECT_TRUE(ReadReportToPrinterC().printed);
    EXPECT_EQ(ReadFile(dir.file("REPORT.PRN")), report + "\f\r\n");
    EXPECT_EQ(ReadFile(lp.file("got")), report + "\f\r\n");
    EXPECT_EQ(ReadFile(lp.file("args")), "-o\nraw\n" + dir.file("REPORT.PRN").toUtf8() + "\n");
    EXPECT_EQ(hooks, QStringList({"busy", "normal"}));
}

TEST_F(RawPrintTest, SpoolerFailuresAreReportedWithItsMessage) {
    {
        FakeLp lp(QStringLiteral("echo 'lp: Error - no default destination available.' >&2\n"
                                 "exit 1"));
        const VError e = CaughtError([] { ReadReportToPrinterC(); });
        EXPECT_EQ(e.number(), PrinterError);
        EXPECT_TRUE(e.description().contains("no default destination available"))
            << e.description().toStdString();
    }
    FakeLp none; // no spooler at all
    const VError e = CaughtError([&] { SendRawToPrinter(dir.file("REPORT.PRN")); });
    EXPECT_EQ(e.number(), PrinterError);
    EXPECT_TRUE(e.description().contains("\"lp\"")) << e.description().toStdString();
}
