#include "reports/gui/frmViewReport.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/gui/ReportTextBox.h"
#include "reports/print/PrintService.h"
#include "reports/print/ReportText.h"
#include "store/AuditTrail.h"
#include "ui/MenuButtons.h"
#include "ui/Palette.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace varenta::reports {

namespace {

// Measures in twips.
constexpr int FormWidth = 10800;
constexpr int FormHeight = 9000;
constexpr int FrameWidth = 10320;
constexpr int FrameHeight = 7800;
constexpr int TextLeft = 120;
constexpr int TextTop = 120;
constexpr int TextHeight = 6840;
constexpr int ButtonTop = 7080;
constexpr int ButtonWidth = 2400;
constexpr int ButtonHeight = 540;
constexpr int FrameLift = 1000; // the frame sits half of this above the true centre

const QString Caption = QStringLiteral("Client Report");

const QString TextHelp =
    QStringLiteral("Use the arrow keys, Page Up and Page Down to read the report.");
const QString PrintHelp = QStringLiteral("Print the report on the default printer.");
const QString PrintToHelp =
    QStringLiteral("Choose a printer, the number of copies, or a PDF file, then print the report.");
const QString CloseHelp = QStringLiteral("Close the report.");

bool IsScrollKey(int key) {
    return key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown ||
           key == Qt::Key_PageUp;
}

// The button an access key or Ctrl+P presses, if any.
QPushButton* KeyButton(const QKeyEvent* key, QPushButton* print, QPushButton* printTo,
                       QPushButton* close) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier && key->key() == Qt::Key_P)
        return printTo; // the usual key for the print dialog
    if (mods != Qt::AltModifier)
        return nullptr;
    switch (key->key()) {
    case Qt::Key_P:
        return print;
    case Qt::Key_T:
        return printTo;
    case Qt::Key_C:
        return close;
    default:
        return nullptr;
    }
}

} // namespace

void InstallPrintUi() {
    PrintHooks& hooks = PrintUi();
    hooks.busy = [] { ui::BusyPointer(); };
    hooks.normal = [] { ui::NormalPointer(); };
    hooks.choosePdfPath = [](const QString& suggested) {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(),
                                            QStringLiteral("Save Report as PDF"), suggested,
                                            QStringLiteral("PDF files (*.pdf)"));
    };
}

std::optional<PrintTarget> ChoosePrinter(QWidget* parent, const QString& documentName) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setCreator(QString::fromLatin1(ProductName));
    // Starts on the default printer's own paper, as "Print Report" prints.
    const QString defaultPrinter = CurrentPrintService().DefaultPrinter();
    if (!defaultPrinter.isEmpty()) {
        printer.setPrinterName(defaultPrinter);
        if (const auto paper = CurrentPrintService().Printer(defaultPrinter).paper)
            printer.setPageSize(QPageSize(*paper));
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Report"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    // Odd or even pages only is a choice the dialog keeps to itself; it is not offered rather
    // than offered and ignored.
    for (const char* name : {"pageSetLabel", "pageSetCombo"})
        if (QWidget* w = dialog.findChild<QWidget*>(QString::fromLatin1(name)))
            w->setEnabled(false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QPageRanges sheets;
    if (printer.printRange() == QPrinter::PageRange) {
        sheets = printer.pageRanges();
        if (sheets.isEmpty() && printer.fromPage() > 0)
            sheets.addRange(printer.fromPage(), std::max(printer.fromPage(), printer.toPage()));
    }
    const bool lastFirst = printer.pageOrder() == QPrinter::LastPageFirst;
    const QPageSize::PageSizeId paper = printer.pageLayout().pageSize().id();
    std::optional<QPageSize::PageSizeId> chosenPaper;
    if (paper != QPageSize::Custom)
        chosenPaper = paper;
    if (printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty()) {
        QString path = printer.outputFileName();
        if (path.isEmpty())
            return std::nullopt;
        if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
            path += QStringLiteral(".pdf");
        PrintTarget pdf = PrintTarget::PdfFile(path, chosenPaper);
        pdf.SetSheets(sheets, lastFirst);
        return pdf;
    }
    Sides sides = Sides::PrinterDefault;
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        sides = Sides::OneSided;
        break;
    case QPrinter::DuplexLongSide:
        sides = Sides::LongEdge;
        break;
    case QPrinter::DuplexShortSide:
        sides = Sides::ShortEdge;
        break;
    case QPrinter::DuplexAuto:
        break;
    }
    PrintTarget target = PrintTarget::Printer(printer.printerName());
    target.SetPaper(chosenPaper)
        .SetCopies(printer.copyCount())
        .SetCollate(printer.collateCopies())
        .SetSides(sides)
        .SetSheets(sheets, lastFirst);
    return target;
}

frmViewReport::frmViewReport(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmViewReport"));
    setWindowTitle(Caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setModal(true);
    resize(ui::Twips(FormWidth), ui::Twips(FormHeight));
    ui::SetBackground(this, ui::AreaColour);

    fraAll = new QFrame(this);
    fraAll->setObjectName(QStringLiteral("fraAll"));
    fraAll->setFrameStyle(QFrame::Panel | QFrame::Raised);
    fraAll->setLineWidth(2);
    fraAll->setFixedSize(ui::Twips(FrameWidth), ui::Twips(FrameHeight));
    ui::SetBackground(fraAll, ui::FaceColour, Qt::black);

    Text1 = new ReportTextBox(fraAll);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFocusPolicy(Qt::StrongFocus);
    Text1->setWordWrapMode(QTextOption::NoWrap);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::TypeWriter);
    mono.setFixedPitch(true);
    mono.setPointSize(9);
    Text1->setFont(mono);
    QPalette textPalette = Text1->palette();
    textPalette.setColor(QPalette::Base, Qt::white);
    textPalette.setColor(QPalette::Text, Qt::black);
    Text1->setPalette(textPalette);
    Text1->setGeometry(ui::Twips(TextLeft), ui::Twips(TextTop),
                       ui::Twips(FrameWidth - 2 * TextLeft), ui::Twips(TextHeight));
    Text1->setAccessibleName(QStringLiteral("Report text"));

    cmdPrintReport = new QPushButton(QStringLiteral("&Print Report"), fraAll);
    cmdPrintReport->setObjectName(QStringLiteral("cmdPrintReport"));
    cmdPrintTo = new QPushButton(QStringLiteral("Print &To..."), fraAll);
    cmdPrintTo->setObjectName(QStringLiteral("cmdPrintTo"));
    cmdCancel = new QPushButton(QStringLiteral("&Close"), fraAll);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    const int gap = (FrameWidth - 3 * ButtonWidth) / 4;
    int left = gap;
    for (QPushButton* b : {cmdPrintReport, cmdPrintTo, cmdCancel}) {
        b->setGeometry(ui::Twips(left), ui::Twips(ButtonTop), ui::Twips(ButtonWidth),
                       ui::Twips(ButtonHeight));
        left += ButtonWidth + gap;
        b->setAutoDefault(true);
        b->setFocusPolicy(Qt::StrongFocus);
    }
    cmdPrintReport->setEnabled(false);
    cmdPrintTo->setEnabled(false);
    setTabOrder(Text1, cmdPrintReport);
    setTabOrder(cmdPrintReport, cmdPrintTo);
    setTabOrder(cmdPrintTo, cmdCancel);

    msgPanel = ui::AddFootPanel(this);

    connect(cmdPrintReport, &QPushButton::clicked, this, [this] { PrintReport(); });
    connect(cmdPrintTo, &QPushButton::clicked, this, [this] { PrintReportTo(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    // The window sees key presses before its controls.
    for (QObject* o :
         std::initializer_list<QObject*>{Text1, cmdPrintReport, cmdPrintTo, cmdCancel, fraAll})
        o->installEventFilter(this);

    connect(qApp, &QGuiApplication::focusWindowChanged, this, &frmViewReport::FocusWindowChanged);
}

frmViewReport::~frmViewReport() = default;

void frmViewReport::MOUSEDEFAULT() {
    ui::NormalPointer();
}

void frmViewReport::MOUSEWAIT() {
    ui::BusyPointer();
}

void frmViewReport::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    ui::CenterForm(this);
    CentreFrame();
    scorePending_ = true;
    if (!activationQueued_) {
        activationQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            activationQueued_ = false;
            if (scorePending_ && isVisible())
                Activation();
        });
    }
}

void frmViewReport::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    CentreFrame();
}

bool frmViewReport::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && scorePending_ && !activationQueued_ && busy_ == 0) {
        // Run after the activation has been handled, not inside it.
        activationQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            activationQueued_ = false;
            if (scorePending_ && isVisible())
                Activation();
        });
    }
    return QDialog::event(e);
}

bool frmViewReport::IsOwnWindow(const QWindow* window) const {
    const QWindow* mine = windowHandle();
    for (const QWindow* w = window; w; w = w->transientParent())
        if (w == mine)
            return true;
    return false;
}

void frmViewReport::FocusWindowChanged(QWindow* window) {
    // Another application (no focus window here), a menu, a tooltip or a box of our own is no
    // reason to score again; another window of the program is.
    if (!window || !isVisible() || busy_ > 0 || IsOwnWindow(window))
        return;
    const Qt::WindowType type = window->type();
    if (type == Qt::Popup || type == Qt::ToolTip)
        return;
    scorePending_ = true;
}

void frmViewReport::CentreFrame() {
    const int panelHeight = msgPanel->sizeHint().height();
    msgPanel->setGeometry(0, height() - panelHeight, width(), panelHeight);
    const QRect inner = contentsRect();
    const int left = inner.width() / 2 - fraAll->width() / 2;
    const int top = inner.height() / 2 - (fraAll->height() + ui::Twips(FrameLift)) / 2;
    fraAll->move(std::max(0, left), std::max(0, top));
}

void frmViewReport::Activation() {
    scorePending_ = false;
    ++busy_;
    ui::CenterForm(this);
    CentreFrame();
    MOUSEWAIT();
    QString text;
    QString failure;
    try {
        ++scoringRuns_;
        if (scorer_)
            scorer_(request_);
        else
            scoring::ScoreClient(request_);
        text = ReadReportFile();
    } catch (const VError& e) {
        failure = FailureText(e);
    } catch (const std::exception& e) {
        failure = FailureText(e);
    }
    hasReport_ = failure.isEmpty();
    cmdPrintReport->setEnabled(hasReport_);
    cmdPrintTo->setEnabled(hasReport_);
    if (hasReport_) {
        Text1->setPlainText(ReportTextBox::DisplayText(text));
        if (!cmdCancel->hasFocus() && !Text1->hasFocus() && !cmdPrintTo->hasFocus())
            cmdPrintReport->setFocus();
        MOUSEDEFAULT();
        if (!viewRecorded_) { // once for each opening, not at every activation
            viewRecorded_ = true;
            audit::Record(audit::Event::ReportViewed, Globals().CurrentClient);
        }
    } else {
        // No report of an earlier run may stay on show as this client's.
        Text1->clear();
        MOUSEDEFAULT();
        ShowFailure(Caption, failure);
        cmdCancel->setFocus();
    }
    --busy_;
}

PrintResult frmViewReport::PrintReport() {
    if (!hasReport_)
        return {};
    return PrintOn(target_);
}

PrintResult frmViewReport::PrintReportTo() {
    if (!hasReport_)
        return {};
    ++busy_;
    const std::optional<PrintTarget> chosen =
        chooser_ ? chooser_()
                 : ChoosePrinter(this, ClientReportPdfName().chopped(4)); // less ".pdf"
    --busy_;
    if (!chosen)
        return {};
    const PrintResult result = PrintOn(*chosen);
    if (result.printed && chosen->isPdf())
        ShowMessage(QStringLiteral("The report was saved as %1")
                        .arg(QDir::toNativeSeparators(result.pdfPath)),
                    MsgIcon::Information);
    return result;
}

PrintResult frmViewReport::PrintOn(const PrintTarget& target) {
    PrintResult result;
    ++busy_;
    QString failure;
    try {
        result = PrintReportFile(target);
    } catch (const VError& e) {
        failure = FailureText(e);
    } catch (const std::exception& e) {
        failure = FailureText(e);
    }
    if (failure.isEmpty() && result.printed)
        audit::Record(audit::Event::ReportPrinted, Globals().CurrentClient);
    if (!failure.isEmpty()) {
        MOUSEDEFAULT();
        ShowFailure(QStringLiteral("Print Report"), failure);
    } else if (result.printed && !result.pdfPath.isEmpty() && !target.isPdf()) {
        // Saved as PDF in place of a printer: say where it went.
        ShowMessage(QStringLiteral("The report was saved as %1")
                        .arg(QDir::toNativeSeparators(result.pdfPath)),
                    MsgIcon::Information);
    }
    --busy_;
    return result;
}

QString frmViewReport::FailureText(const VError& e) {
    return ErrorText(e);
}

QString frmViewReport::FailureText(const std::exception& e) {
    return QStringLiteral("The operation stopped unexpectedly: %1")
        .arg(QString::fromLocal8Bit(e.what()));
}

void frmViewReport::ShowFailure(const QString& title, const QString& text) {
    ++busy_;
    MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, title);
    --busy_;
}

void frmViewReport::ShowMessage(const QString& text, MsgIcon icon) {
    ++busy_;
    MsgBox(text, MsgButtons::Ok, icon, QStringLiteral("Print Report"));
    --busy_;
}

void frmViewReport::ShowHelp(QObject* control) {
    if (control == Text1)
        msgPanel->SetCaption(TextHelp);
    else if (control == cmdPrintReport)
        msgPanel->SetCaption(PrintHelp);
    else if (control == cmdPrintTo)
        msgPanel->SetCaption(PrintToHelp);
    else if (control == cmdCancel)
        msgPanel->SetCaption(CloseHelp);
}

bool frmViewReport::HandleKey(QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (QPushButton* b = KeyButton(key, cmdPrintReport, cmdPrintTo, cmdCancel)) {
        if (b->isEnabled())
            b->click();
        return true;
    }
    if (mods != Qt::NoModifier || !IsScrollKey(key->key()) || Text1->hasFocus())
        return false;
    // Into the report, which then takes the key, so a single press already scrolls.
    Text1->setFocus(Qt::OtherFocusReason);
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                   ushort(key->count()));
    QCoreApplication::sendEvent(Text1, &copy);
    return true;
}

void frmViewReport::keyPressEvent(QKeyEvent* e) {
    if (!HandleKey(e))
        QDialog::keyPressEvent(e);
}

bool frmViewReport::eventFilter(QObject* watched, QEvent* e) {
    // Alt+P, Alt+T, Alt+C and Ctrl+P come here as key presses rather than as the buttons' own
    // shortcuts, which would click them only after a delay.
    if (e->type() == QEvent::ShortcutOverride &&
        KeyButton(static_cast<QKeyEvent*>(e), cmdPrintReport, cmdPrintTo, cmdCancel)) {
        e->accept();
        return true;
    }
    if (e->type() == QEvent::FocusIn)
        ShowHelp(watched);
    if (e->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(e)))
        return true;
    return QDialog::eventFilter(watched, e);
}

void ViewReport(QWidget* parent, const scoring::ReportRequest& request) {
    frmViewReport viewer(parent);
    viewer.SetRequest(request);
    viewer.exec();
}

} // namespace varenta::reports
