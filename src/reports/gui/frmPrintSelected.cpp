#include "reports/gui/frmPrintSelected.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/ClientListSearch.h"
#include "reports/gui/frmViewReport.h"
#include "store/AuditTrail.h"
#include "store/ClientStore.h"
#include "ui/MenuButtons.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QVBoxLayout>

namespace varenta::reports {

namespace {

const QString kTitle = QStringLiteral("Print Reports");
const QString kListHelp = QStringLiteral("Use up or down arrow keys or mouse to select client.");

const char16_t* const kInstructions[] = {
    u"- Select the client names of the ",
    u" reports you want to print by ",
    u" clicking on them.",
    u"- Use the scroll bar to view more",
    u" names.",
    u"- If some of the names you have",
    u" selected scroll up or down out",
    u" of view, they are still selected ",
    u" and will print.",
    u"- Click the \"Select All\" button to ",
    u" select all the names in the list.",
    u"- Click the \"Print Selected\" button ",
    u" to print all the reports you have ",
    u" selected.",
    u"- Click the \"Return to Main Menu\" ",
    u" button to cancel selections and ",
    u" return to the Main Menu.",
};

// The window layer owns the pointer for the whole run: the print layer's own hourglass would
// switch it off after every report.
class PointerScope {
public:
    PointerScope() : saved_(PrintUi()) {
        PrintUi().busy = [] {};
        PrintUi().normal = [] {};
        ui::BusyPointer();
    }
    ~PointerScope() {
        PrintUi().busy = saved_.busy;
        PrintUi().normal = saved_.normal;
        ui::NormalPointer();
    }
    PointerScope(const PointerScope&) = delete;
    PointerScope& operator=(const PointerScope&) = delete;

private:
    PrintHooks saved_;
};

// The client list: typing moves to a client (its number, or the start of its name) without
// touching the selection; Space and Enter add the current client or take it out again. A
// confidential report prints only for a client the user chose.
class ChoiceList : public QListWidget {
public:
    explicit ChoiceList(QWidget* parent) : QListWidget(parent) {
        // A click or the space bar adds a name to the selection or takes it out again; the
        // arrow keys move without changing it.
        setSelectionMode(QAbstractItemView::MultiSelection);
    }

    void keyboardSearch(const QString& text) override {
        QStringList lines;
        for (int i = 0; i < count(); ++i)
            lines << item(i)->text();
        const qint64 since = sinceLastKey_.isValid() ? sinceLastKey_.elapsed() : -1;
        sinceLastKey_.start();
        for (QChar c : text) {
            const int line = search_.Find(c, since, lines, currentRow());
            if (line < 0) {
                Beep();
                return;
            }
            setCurrentRow(line, QItemSelectionModel::NoUpdate);
            scrollToItem(item(line));
        }
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (enter && e->modifiers() == Qt::NoModifier) {
            if (QListWidgetItem* line = currentItem())
                line->setSelected(!line->isSelected());
            return;
        }
        QListWidget::keyPressEvent(e);
    }

private:
    ClientListSearch search_;
    QElapsedTimer sinceLastKey_;
};

// Where the reports went: each file on a line of its own, or the first and the last of many.
QString PdfFilesMessage(const QStringList& files) {
    QStringList lines{
        QStringLiteral("The reports were saved as PDF files, one per client, in the folder %1:")
            .arg(QDir::toNativeSeparators(QFileInfo(files.first()).absolutePath()))};
    if (files.size() <= 6) {
        for (const QString& f : files)
            lines << QFileInfo(f).fileName();
    } else {
        lines << QStringLiteral("%1 files, from %2 to %3.")
                     .arg(files.size())
                     .arg(QFileInfo(files.first()).fileName(), QFileInfo(files.last()).fileName());
    }
    return MsgLines(lines);
}

} // namespace

QString ClientPdfPath(const QString& chosen, int client) {
    const QFileInfo info(chosen);
    QString base = info.fileName();
    if (info.suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        base.chop(4);
    return QDir(info.absolutePath())
        .filePath(base + QLatin1Char(' ') + QString::number(client) + QStringLiteral(".pdf"));
}

BatchPrintResult PrintReportsOf(const QList<int>& clients, const scoring::ReportRequest& request,
                                ui::MsgPanel* helpLine) {
    BatchPrintResult result;
    result.notPrinted = clients;
    if (clients.isEmpty())
        return result;
    // Asked once for the whole run: where the printer cannot print the user may choose PDF
    // files, one per client.
    const std::optional<PrintTarget> target =
        ResolveTarget(PrintTarget::DefaultPrinter(), QStringLiteral("Client Report.pdf"));
    if (!target) {
        result.declined = true;
        return result;
    }
    QStringList pdfFiles;
    bool watched = true;
    {
        PointerScope pointer;
        BatchPrintHooks hooks;
        hooks.print = [&](int client) {
            PrintTarget each = *target;
            if (target->isPdf())
                each =
                    PrintTarget::PdfFile(ClientPdfPath(target->pdfPath(), client), target->paper());
            else // a printer that stops part-way ends the run, which says what was printed
                each.SetOffersPdf(false).SetWatched(watched);
            const PrintResult printed = PrintReportFile(each);
            if (printed.printed && !printed.pdfPath.isEmpty())
                pdfFiles << printed.pdfPath;
            // The user left a report waiting in the queue: the rest join it there.
            if (printed.queued)
                watched = false;
            return printed.printed;
        };
        hooks.progress = [helpLine](const QString& line) {
            if (helpLine) {
                helpLine->SetCaption(line);
                helpLine->repaint();
            }
        };
        hooks.askRetry = [](int client, const VError& e) {
            ui::NormalPointer();
            const bool retry =
                MsgBox(MsgLines({QStringLiteral("The report of client %1 could not be printed.")
                                     .arg(client),
                                 ErrorText(e), QString(),
                                 QStringLiteral("Press OK to try again, or Cancel to stop "
                                                "printing.")}),
                       MsgButtons::OkCancel, MsgIcon::Critical, kTitle) == MsgAnswer::Ok;
            ui::BusyPointer();
            return retry;
        };
        try {
            result = PrintClientReports(clients, request, hooks);
        } catch (const std::exception& e) {
            // Nothing may escape into the event loop; the copies are gone already.
            result.failed = true;
            MsgBox(QStringLiteral("Printing stopped unexpectedly: %1")
                       .arg(QString::fromLocal8Bit(e.what())),
                   MsgButtons::Ok, MsgIcon::Critical, kTitle);
        }
    }
    if (!result.complete() && !(result.declined && result.printed.isEmpty()))
        MsgBox(BatchSummary(result), MsgButtons::Ok, MsgIcon::Information, kTitle);
    else if (result.complete() && !pdfFiles.isEmpty())
        MsgBox(PdfFilesMessage(pdfFiles), MsgButtons::Ok, MsgIcon::Information, kTitle);
    return result;
}

frmPrintSelected::frmPrintSelected(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrintSelected"));
    setWindowTitle(QStringLiteral("Print Selected Reports"));
    setModal(true);

    area_ = ui::AddDarkArea(this);
    fraAll_ = ui::AddRaisedFrame(area_, QStringLiteral("fraAll"));

    txtInstructions_ = new QPlainTextEdit(fraAll_);
    txtInstructions_->setObjectName(QStringLiteral("txtInstructions"));
    QStringList lines;
    for (const char16_t* line : kInstructions)
        lines << QString::fromUtf16(line);
    txtInstructions_->setPlainText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    txtInstructions_->setReadOnly(true);
    txtInstructions_->setFocusPolicy(Qt::NoFocus);
    txtInstructions_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtInstructions_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtInstructions_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics im(txtInstructions_->font());
    txtInstructions_->setFixedSize(im.horizontalAdvance(QStringLiteral(" to print all the reports "
                                                                       "you have ")) +
                                       ui::Twips(600),
                                   im.lineSpacing() * (int(lines.size()) + 2));

    fraClient_ = new QGroupBox(QStringLiteral("Client List"), fraAll_);
    fraClient_->setObjectName(QStringLiteral("fraClient"));
    auto* clientLayout = new QVBoxLayout(fraClient_);
    list_ = new ChoiceList(fraClient_);
    list_->setObjectName(QStringLiteral("lbNameDisplay"));
    ui::StyleClientList(list_, 32, txtInstructions_->height());
    clientLayout->addWidget(list_);
    ui::PaintSelectable(fraClient_, false);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemClicked, this, &frmPrintSelected::UpdatePrintButton);
    connect(list_, &QListWidget::currentRowChanged, this, &frmPrintSelected::UpdatePrintButton);

    msgPanel_ = ui::AddFootPanel(area_);

    auto* row = new QHBoxLayout;
    row->setSpacing(ui::Twips(240));
    buttons_ = new ui::MenuButtons(this, msgPanel_);
    // In the order of Choice.
    const std::pair<const char*, const char*> choices[] = {
        {"Print Selected", "Print selected client reports"},
        {"Select All", "Select all client reports for printing"},
        {"Return to Main Menu", "Cancel selections and printing."},
    };
    for (const auto& [caption, help] : choices) {
        QPushButton* b =
            buttons_->Add(QString::fromLatin1(caption), QString::fromLatin1(help), fraAll_);
        b->setMinimumWidth(ui::Twips(2400));
        row->addWidget(b->parentWidget());
    }
    connect(buttons_, &ui::MenuButtons::chosen, this, [this](int i) {
        if (running_)
            return;
        if (Choice(i) == Choice::PrintSelected)
            PrintSelected();
        else if (Choice(i) == Choice::SelectAll)
            SelectAll();
        else
            reject();
    });

    auto* top = new QHBoxLayout;
    top->setSpacing(ui::Twips(240));
    top->addWidget(txtInstructions_);
    top->addWidget(fraClient_);
    auto* layout = new QVBoxLayout(fraAll_);
    layout->setContentsMargins(ui::Twips(240), ui::Twips(240), ui::Twips(240), ui::Twips(240));
    layout->setSpacing(ui::Twips(240));
    layout->addLayout(top);
    layout->addLayout(row);
    ui::FixAtSizeHint(fraAll_);
    ui::SetTabChain({list_, buttons_->button(Choice::PrintSelected),
                     buttons_->button(Choice::SelectAll),
                     buttons_->button(Choice::ReturnToMainMenu)});

    resize(fraAll_->width() + ui::Twips(1200),
           fraAll_->height() + msgPanel_->minimumHeight() + ui::Twips(2400));
    ui::CenterForm(this);
}

// Filled when the window is shown: its own message boxes do not clear the choices made.
void frmPrintSelected::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        Activation();
}

void frmPrintSelected::reject() {
    if (!running_) // a printout under way is not left half done
        QDialog::reject();
}

void frmPrintSelected::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    PlaceFrame();
}

void frmPrintSelected::PlaceFrame() {
    ui::PlaceFramed(area_, fraAll_, msgPanel_);
}

void frmPrintSelected::Activation() {
    PlaceFrame();
    buttons_->ResetMenuButtons();
    FillList();
    UpdatePrintButton();
    // With no clients there is nothing to choose or print: the way back is the only choice.
    if (list_->count() == 0 && (list_->hasFocus() || !focusWidget()))
        buttons_->button(Choice::ReturnToMainMenu)->setFocus(Qt::OtherFocusReason);
    else if (!focusWidget())
        list_->setFocus(Qt::OtherFocusReason);
}

void frmPrintSelected::FillList() {
    QSignalBlocker block(list_);
    list_->clear();
    for (int n = 1; n <= Globals().ClientCount; ++n)
        list_->addItem(ClientListLine(n));
    if (list_->count() > 0)
        list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

void frmPrintSelected::UpdatePrintButton() {
    const QListWidgetItem* current = list_->currentItem();
    buttons_->button(Choice::PrintSelected)->setEnabled(current && !current->text().isEmpty());
}

bool frmPrintSelected::eventFilter(QObject* watched, QEvent* e) {
    if (watched == list_) {
        switch (e->type()) {
        case QEvent::FocusIn:
            ListFocusIn();
            break;
        case QEvent::FocusOut:
            ListFocusOut();
            break;
        case QEvent::KeyRelease:
            UpdatePrintButton();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmPrintSelected::ListFocusIn() {
    if (list_->count() == 0) {
        buttons_->button(Choice::ReturnToMainMenu)->setFocus(Qt::TabFocusReason);
        return;
    }
    ui::PaintSelectable(fraClient_, true);
    msgPanel_->SetCaption(kListHelp);
    UpdatePrintButton();
}

void frmPrintSelected::ListFocusOut() {
    ui::PaintSelectable(fraClient_, false);
    msgPanel_->SetCaption(QString());
}

void frmPrintSelected::SelectAll() {
    list_->selectAll();
}

void frmPrintSelected::PrintSelected() {
    QList<int> clients;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->isSelected())
            clients << i + 1;
    if (clients.isEmpty()) {
        MsgBox(MsgLines({QStringLiteral("No client is selected."),
                         QStringLiteral("Select the clients whose reports you want to print, or "
                                        "press \"Select All\".")}),
               MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Print Selected Reports"));
        list_->setFocus(Qt::OtherFocusReason);
        return;
    }
    running_ = true;
    lastRun_ = PrintReportsOf(clients, request_, msgPanel_);
    audit::Record(audit::Event::ReportPrinted, lastRun_->printed);
    running_ = false;
    accept();
}

} // namespace varenta::reports
