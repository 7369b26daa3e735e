#include "checkout/gui/frmCheckout.h"

#include "app/Messages.h"
#include "reports/gui/ReportTextBox.h"
#include "reports/gui/frmViewReport.h"
#include "reports/print/ReportText.h"
#include "scoring/ScoreAndPrint.h"
#include "ui/MenuButtons.h"
#include "ui/WindowHelpers.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varenta::checkout {

namespace {

const char* const Captions[frmCheckout::CommandButtons] = {
    "Truth Correction", "Scale Distributions",    "Minimum Scale Scores",
    "History Scoring",  "History Minimum Scores", "Close"};

QFont Typeface(const QString& family, QFont::StyleHint hint, int points) {
    QFont f(family);
    f.setStyleHint(hint);
    f.setPointSize(points);
    return f;
}

} // namespace

QString frmCheckout::Hint(int button) {
    static const QString oneReport =
        QStringLiteral(" Press the 'Print' button to print the report to the printer.");
    switch (button) {
    case TruthCorrection:
        return QStringLiteral(
            "Click on the Truth Correction button to display two Truth Correction reports."
            " Press the 'Print' button to print the reports to a printer.");
    case ScaleDistributions:
        return QStringLiteral(
                   "Click on the Distributions button to display scale item scoring report.") +
               oneReport;
    case MinimumScaleScores:
        return QStringLiteral("Click on the Minimum Scale Scores button to display minimum scale "
                              "scores report.") +
               oneReport;
    default:
        return QString();
    }
}

void frmCheckout::InitializeClient(ClientRecord& client, int slot) {
    checkout::InitializeClient(client, slot);
}

frmCheckout::frmCheckout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCheckout"));
    setWindowTitle(QStringLiteral("Checkout"));
    setModal(true);

    buttons_ = new ui::MenuButtons(this, nullptr);
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < CommandButtons; ++i) {
        QPushButton* b = buttons_->Add(QString::fromLatin1(Captions[i]), QString(), left);
        b->setObjectName(QStringLiteral("cmdButton(%1)").arg(i));
        b->installEventFilter(this);
        leftLayout->addWidget(buttons_->panel(i));
    }

    fraSelectGender = new QGroupBox(QStringLiteral("Select M/F for Distributions Report"), left);
    fraSelectGender->setObjectName(QStringLiteral("fraSelectGender"));
    auto* genderLayout = new QVBoxLayout(fraSelectGender);
    optMale = new QRadioButton(QStringLiteral("Male"), fraSelectGender);
    optMale->setObjectName(QStringLiteral("optMale"));
    optFemale = new QRadioButton(QStringLiteral("Female"), fraSelectGender);
    optFemale->setObjectName(QStringLiteral("optFemale"));
    genderLayout->addWidget(optMale);
    genderLayout->addWidget(optFemale);
    leftLayout->addWidget(fraSelectGender);

    cmdPrint = buttons_->Add(QStringLiteral("&Print"), QString(), left);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    // Nothing to print until this window has made a report: report.prn may still hold a
    // client's confidential report.
    cmdPrint->setEnabled(false);
    leftLayout->addWidget(buttons_->panel(PrintButton));
    leftLayout->addStretch(1);

    txtDeviant = new reports::ReportTextBox(this);
    txtDeviant->setObjectName(QStringLiteral("txtDeviant"));
    txtDeviant->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    txtDeviant->setFont(Typeface(QStringLiteral("Courier New"), QFont::TypeWriter, 9));
    txtDeviant->setMinimumSize(ui::Twips(10200), ui::Twips(6000));

    txtDisplay = new QPlainTextEdit(this);
    txtDisplay->setObjectName(QStringLiteral("txtDisplay"));
    txtDisplay->setReadOnly(true);
    txtDisplay->setFocusPolicy(Qt::NoFocus);
    txtDisplay->setFont(Typeface(QStringLiteral("Arial"), QFont::SansSerif, 10));
    txtDisplay->setFixedHeight(ui::Twips(900));

    auto* right = new QVBoxLayout;
    right->addWidget(txtDeviant, 1);
    right->addWidget(txtDisplay);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(left);
    layout->addLayout(right, 1);

    // Tab order: the buttons, the gender choice, Print, then the report.
    for (int i = 0; i + 1 < CommandButtons; ++i)
        setTabOrder(cmdButton(i), cmdButton(i + 1));
    setTabOrder(cmdButton(CloseButton), optMale);
    setTabOrder(optMale, optFemale);
    setTabOrder(optFemale, cmdPrint);
    setTabOrder(cmdPrint, txtDeviant);

    // Truth Correction is scored with one gender's norms, so it waits for a choice.
    cmdButton(TruthCorrection)->setEnabled(false);
    const auto genderChosen = [this] {
        cmdButton(TruthCorrection)->setEnabled(optMale->isChecked() || optFemale->isChecked());
    };
    connect(optMale, &QRadioButton::toggled, this, genderChosen);
    connect(optFemale, &QRadioButton::toggled, this, genderChosen);
    connect(buttons_, &ui::MenuButtons::chosen, this, &frmCheckout::ButtonChosen);

    Session();
    // The tables are read now so that a missing or broken file is reported at once; every
    // report reads them again, so a corrected file is picked up without reopening.
    try {
        scoring::SetLayoutConstants();
        scoring::LoadScoringTables();
    } catch (const VError& e) {
        ShowError(e);
    }
}

frmCheckout::~frmCheckout() = default;

QPushButton* frmCheckout::cmdButton(int i) const {
    return i >= 0 && i < CommandButtons ? buttons_->button(i) : nullptr;
}

CheckoutSession& frmCheckout::Session() {
    if (!session_)
        session_ = std::make_unique<CheckoutSession>();
    return *session_;
}

void frmCheckout::showEvent(QShowEvent* event) {
    Session();
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        ui::CenterForm(this);
    }
    buttons_->ResetMenuButtons();
    if (QWidget* first = cmdButton(TruthCorrection)->isEnabled() ? cmdButton(TruthCorrection)
                                                                 : cmdButton(ScaleDistributions))
        first->setFocus();
}

void frmCheckout::done(int result) {
    // Ending the session hands CurrentClient back as the window found it.
    session_.reset();
    QDialog::done(result);
}

bool frmCheckout::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::Enter || type == QEvent::FocusIn || type == QEvent::Leave) {
        for (int i = 0; i < CommandButtons; ++i) {
            if (watched != cmdButton(i))
                continue;
            // Leaving a button puts the mouse over the window or a frame: no hint there.
            if (type == QEvent::Leave)
                txtDisplay->clear();
            else
                txtDisplay->setPlainText(Hint(i));
        }
    }
    return QDialog::eventFilter(watched, event);
}

GenderChoice frmCheckout::Gender() const {
    if (optMale->isChecked())
        return GenderChoice::Male;
    if (optFemale->isChecked())
        return GenderChoice::Female;
    return GenderChoice::Both;
}

void frmCheckout::ButtonChosen(int index) {
    txtDisplay->clear();
    switch (index) {
    case TruthCorrection:
        if (Gender() != GenderChoice::Both)
            RunReport(ReportKind::TruthCorrection);
        break;
    case ScaleDistributions:
        RunReport(ReportKind::ScaleDistributions);
        break;
    case MinimumScaleScores:
        RunReport(ReportKind::MinimumScaleScores);
        break;
    case HistoryScoring:
    case HistoryMinimumScores:
        MsgBox(MsgLines({QStringLiteral("%1: nothing to check yet.")
                             .arg(QString::fromLatin1(Captions[index])),
                         QStringLiteral("The court-history scoring has no check report; "
                                        "the report shown is unchanged.")}),
               MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Checkout"));
        break;
    case CloseButton:
        close();
        break;
    case PrintButton:
        ReadReportToPrinterC();
        break;
    default:
        break;
    }
}

void frmCheckout::RunReport(ReportKind kind) {
    ui::BusyPointer();
    try {
        Session().WriteReport(kind, Gender());
        ShowReportFile();
        cmdPrint->setEnabled(true);
    } catch (const VError& e) {
        ui::NormalPointer();
        ShowError(e);
        return;
    }
    ui::NormalPointer();
    if (kind == ReportKind::ScaleDistributions)
        PrintDirect();
}

void frmCheckout::ShowReportFile() {
    txtDeviant->setPlainText(reports::ReportTextBox::DisplayText(reports::ReadReportFile()));
}

void frmCheckout::ShowError(const VError& e) {
    MsgBox(ErrorText(e), MsgButtons::Ok, MsgIcon::Critical);
}

void frmCheckout::ReadReportToPrinterC() {
    try {
        reports::ReadReportToPrinterC(printTarget_);
    } catch (const VError& e) {
        ui::NormalPointer();
        ShowError(e);
    }
}

void frmCheckout::PrintDirect() {
    try {
        reports::PrintDirect(printTarget_);
    } catch (const VError& e) {
        ui::NormalPointer();
        ShowError(e);
    }
}

} // namespace varenta::checkout
