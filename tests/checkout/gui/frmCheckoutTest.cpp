#include "checkout/gui/frmCheckout.h"

#include "../CheckoutTables.h"
#include "reports/print/FakePrintService.h"
#include "reports/print/PdfCheck.h"
#include "support/GuiDriver.h"
#include "support/OnDataDisk.h"

#include "app/Globals.h"
#include "app/Messages.h"

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace varenta;
using namespace varenta::checkout;
using namespace varenta::testing;

namespace {

class CheckoutWindow : public OnDataDisk {
protected:
    void SetUp() override {
        Globals().ProgramDir = program.path();
        Globals().PrintDOS = false;
        tables.Write(program.path());
    }

    // Opens the window as the main window does, ready for keys.
    std::unique_ptr<frmCheckout> Open() {
        auto w = std::make_unique<frmCheckout>();
        w->SetPrintTarget(reports::PrintTarget::PdfFile(pdf));
        ShowActive(w.get());
        return w;
    }
    // Tabs until `target` has the focus (at most one round of the window).
    void TabTo(QWidget* target) {
        for (int i = 0; i < 20 && Focus() != target; ++i)
            Key(Qt::Key_Tab);
        ASSERT_EQ(Focus(), target);
    }

    CheckoutTables tables;
    QString pdf = program.file("printout.pdf");
};

} // namespace

TEST_F(CheckoutWindow, GenderChoiceEnablesTruthCorrectionFromTheKeyboard) {
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), "Checkout");
    EXPECT_EQ(w->fraSelectGender->title(), "Select M/F for Distributions Report");
    EXPECT_FALSE(w->cmdButton(0)->isEnabled());
    EXPECT_FALSE(w->cmdPrint->isEnabled()) << "nothing of this window's to print yet";
    EXPECT_EQ(Focus(), w->cmdButton(1));

    // The hints follow the mouse as well as the focus.
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    for (int b = 0; b < 3; ++b) {
        QApplication::sendEvent(w->cmdButton(b), &enter);
        EXPECT_EQ(w->txtDisplay->toPlainText(), frmCheckout::Hint(b));
        QApplication::sendEvent(w->cmdButton(b), &leave);
        EXPECT_EQ(w->txtDisplay->toPlainText(), QString());
    }
    EXPECT_EQ(frmCheckout::Hint(1),
              "Click on the Distributions button to display scale item scoring report. Press "
              "the 'Print' button to print the report to the printer.");
    QApplication::sendEvent(w->cmdButton(5), &enter);
    EXPECT_EQ(w->txtDisplay->toPlainText(), QString());

    TabTo(w->optMale);
    Key(Qt::Key_Space);
    EXPECT_TRUE(w->optMale->isChecked());
    EXPECT_TRUE(w->cmdButton(0)->isEnabled());
    Key(Qt::Key_Down); // the arrow keys change the choice within the frame
    EXPECT_TRUE(w->optFemale->isChecked());
    EXPECT_TRUE(w->cmdButton(0)->isEnabled());

    for (int i = 0; i < 6; ++i)
        Key(Qt::Key_Backtab);
    ASSERT_EQ(Focus(), w->cmdButton(0));
    EXPECT_EQ(w->txtDisplay->toPlainText(), frmCheckout::Hint(0));
    Key(Qt::Key_Return);
    const QString shown = w->txtDeviant->toPlainText();
    EXPECT_TRUE(shown.contains("Truth Correction, Zero Deviant"));
    EXPECT_TRUE(shown.contains("Truth Correction, One Deviant"));
    // Scored with the female norms: the first row's truthfulness percentile is 20 + 1 + 1.
    EXPECT_TRUE(shown.contains(" 1   [1   22  22 ]"));
    EXPECT_EQ(w->txtDisplay->toPlainText(), QString()) << "a pressed button clears the hint";
    EXPECT_TRUE(w->cmdPrint->isEnabled());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(CheckoutWindow, ReportsAreShownAndPrinted) {
    auto w = Open();
    const auto shownCount = [&](const char* text) {
        return int(w->txtDeviant->toPlainText().count(QString::fromLatin1(text)));
    };
    Key(Qt::Key_Return); // Scale Distributions has the focus on opening
    EXPECT_EQ(shownCount(" SCALE SCORING "), 18);
    EXPECT_EQ(pdf::PageCount(pdf), 18) << "printed straight away";

    QFile::remove(pdf);
    TabTo(w->cmdButton(2));
    Key(Qt::Key_Return);
    const QString minimum = w->txtDeviant->toPlainText();
    EXPECT_EQ(shownCount("Minimum "), 18);
    EXPECT_FALSE(QFileInfo::exists(pdf)) << "only the distributions report prints by itself";
    for (int b : {3, 4}) {
        TabTo(w->cmdButton(b));
        messages.clear();
        Key(Qt::Key_Return);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_TRUE(messages.last().text.contains("nothing to check yet"));
        EXPECT_EQ(messages.last().icon, MsgIcon::Information);
        EXPECT_EQ(w->txtDeviant->toPlainText(), minimum);
    }
    messages.clear();
    TabTo(w->cmdPrint);
    Key(Qt::Key_Return);
    EXPECT_EQ(pdf::PageCount(pdf), 18);

    EXPECT_TRUE(messages.shown().empty());
}

// Chosen from the keyboard, Female gives the nine female tables, scored with the female
// norms of the table set (percentile = 10 * gender + race + raw points); Male the male ones.
TEST_F(CheckoutWindow, DistributionsOfTheChosenGenderFromTheKeyboard) {
    auto w = Open();
    TabTo(w->optMale);
    Key(Qt::Key_Space);
    Key(Qt::Key_Down);
    ASSERT_TRUE(w->optFemale->isChecked());
    TabTo(w->cmdButton(1));
    Key(Qt::Key_Return);
    const QString female = w->txtDeviant->toPlainText();
    EXPECT_EQ(female.count(" SCALE SCORING "), 9);
    EXPECT_EQ(female.count("Varenta - FEMALE - "), 9);
    EXPECT_EQ(female.count("Varenta - MALE - "), 0);
    // Item 20 answered true earns 2 points on the alcohol scale: percentile 20 + 1 + 2 for
    // white girls, 20 + 3 + 2 for Hispanic ones; false and no answer earn nothing.
    const QStringList lines = female.split(QLatin1Char('\n'));
    QStringList rows;
    for (const QString& line : lines)
        if (line.startsWith("   20    2   "))
            rows << line.simplified();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("20 2 2 23 23 20 2 0 0 0 20 2 0 0 0")) << rows[0].toStdString();
    EXPECT_TRUE(rows[2].startsWith("20 2 2 25 25 20 2 0 0 0 20 2 0 0 0")) << rows[2].toStdString();

    TabTo(w->optFemale);
    Key(Qt::Key_Up);
    ASSERT_TRUE(w->optMale->isChecked());
    TabTo(w->cmdButton(1));
    Key(Qt::Key_Return);
    const QString male = w->txtDeviant->toPlainText();
    EXPECT_EQ(male.count("Varenta - MALE - "), 9);
    EXPECT_TRUE(male.contains("   20    2   2     13    13 ")) << "10 + 1 + 2";
}

// With PrintDOS (what a missing key means) the printout goes to the printer as plain text that
// the print service lays out for it, never raw; a printer that refuses it is said so.
TEST_F(CheckoutWindow, PrintDosSendsPlainTextThroughThePrintService) {
    Globals().PrintDOS = true;
    FakePrinting printing;
    frmCheckout w;
    ShowActive(&w);
    TabTo(w.cmdButton(2));
    Key(Qt::Key_Return);
    TabTo(w.cmdPrint);
    Key(Qt::Key_Return);
    ASSERT_EQ(printing->submitted.size(), 1u);
    const reports::PrintJob& job = printing->submitted[0];
    EXPECT_EQ(job.format, "text/plain;charset=utf-8");
    EXPECT_EQ(job.title, "Checkout Report");
    EXPECT_EQ(job.data.count('\f'), 17) << "18 tables, no blank sheet after the last";
    EXPECT_TRUE(job.data.contains("Minimum ALCOHOL SCALE SCORING"));
    EXPECT_TRUE(ReadFile(program.file("report.prn")).endsWith("\f\r\n\f\r\n"));
    EXPECT_TRUE(messages.shown().empty());

    printing->refusal = QStringLiteral("The printer \"office\" did not accept the report: "
                                       "Printer not accepting jobs.");
    Key(Qt::Key_Return);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains("did not accept the report"));
    EXPECT_TRUE(w.isVisible());
}

// The checkout never writes the data disk (see the checkout tests); closing it by its button
// or by Escape gives CurrentClient back.
TEST_F(CheckoutWindow, ClosingGivesBackTheCurrentClient) {
    Globals().CurrentClient = 2;
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        auto w = Open();
        w->optMale->setChecked(true);
        w->cmdButton(0)->setFocus();
        Key(Qt::Key_Return);
        Globals().CurrentClient = 3; // whatever happens while it runs
        if (key == Qt::Key_Return)
            TabTo(w->cmdButton(5));
        Key(key);
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(Globals().CurrentClient, 2);
    }
}

TEST_F(CheckoutWindow, ABrokenTableIsReportedAndTheWindowCarriesOn) {
    WriteFile(program.file("QVB.TXT"), "24\r\n");
    auto w = Open();
    ASSERT_EQ(messages.shown().size(), 1u) << "reported on opening";
    EXPECT_TRUE(messages.last().text.startsWith("Error "));
    Key(Qt::Key_Return);
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_FALSE(w->cmdPrint->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(pdf));

    tables.Write(program.path()); // mended: the next press reads it again
    Key(Qt::Key_Return);
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(w->cmdPrint->isEnabled());
}
