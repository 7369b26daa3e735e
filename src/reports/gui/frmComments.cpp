#include "reports/gui/frmComments.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "reports/gui/frmViewReport.h"
#include "scoring/ReportWriter.h"
#include "store/AuditTrail.h"
#include "store/Comments.h"
#include "store/Cp1252.h"
#include "store/SaveWithRetry.h"
#include "ui/MenuButtons.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace varenta::reports {

namespace {

const QString kTextHelp =
    QStringLiteral("Type the comments and recommendations for this client's report.");

} // namespace

int frmComments::StoredLength(const QString& text) {
    return int(text.size() + text.count(QLatin1Char('\n')));
}

frmComments::frmComments(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmComments"));
    setWindowTitle(QStringLiteral("Edit Comments"));
    setModal(true);

    area_ = ui::AddDarkArea(this);

    frCourt_ = new QGroupBox(QStringLiteral(" Valdoria Comments"), area_);
    frCourt_->setObjectName(QStringLiteral("frCourt"));
    ui::SetBackground(frCourt_, ui::FaceColour, Qt::black);

    lblClientName_ = new QLabel(frCourt_);
    lblClientName_->setObjectName(QStringLiteral("lblClientName"));
    QFont nameFont = lblClientName_->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.2);
    lblClientName_->setFont(nameFont);
    lblClientName_->setTextFormat(Qt::PlainText);

    txtComments_ = new QPlainTextEdit(frCourt_);
    txtComments_->setObjectName(QStringLiteral("txtComments"));
    QFont textFont(QStringLiteral("MS Sans Serif"));
    textFont.setStyleHint(QFont::SansSerif);
    textFont.setPointSize(12);
    txtComments_->setFont(textFont);
    txtComments_->setTabChangesFocus(true);
    txtComments_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QFontMetrics tm(textFont);
    txtComments_->setFixedSize(tm.averageCharWidth() * 60, tm.lineSpacing() * 8 + ui::Twips(120));

    auto* charLeftLabel = new QLabel(QStringLiteral("Characters Left"), frCourt_);
    charLeftLabel->setObjectName(QStringLiteral("lblCharLeft"));
    txtCharLeft_ = new QLineEdit(frCourt_);
    txtCharLeft_->setObjectName(QStringLiteral("txtCharLeft"));
    txtCharLeft_->setReadOnly(true);
    txtCharLeft_->setFocusPolicy(Qt::NoFocus);
    txtCharLeft_->setAlignment(Qt::AlignCenter);
    txtCharLeft_->setFixedWidth(ui::Twips(900));
    charLeftLabel->setBuddy(txtCharLeft_);
    // The report has five lines for the comment: staff see while typing whether it all fits.
    lblReportFit_ = new QLabel(frCourt_);
    lblReportFit_->setObjectName(QStringLiteral("lblReportFit"));
    lblReportFit_->setTextFormat(Qt::PlainText);
    lblReportFit_->setWordWrap(true);

    msgPanel_ = ui::AddFootPanel(area_);
    buttons_ = new ui::MenuButtons(this, msgPanel_);
    QWidget* row = ui::AddButtonPair(
        buttons_, frCourt_,
        {QStringLiteral("Information OK"),
         QStringLiteral("Save the comment and show the client's report."),
         [this] { InformationOk(); }},
        {QStringLiteral("Cancel Input"), QStringLiteral("Close without saving the comment."),
         [this] { reject(); }},
        ui::Twips(2100), ui::Twips(360));
    row->layout()->setSpacing(ui::Twips(180)); // as between the frame's other rows

    auto* counter = new QHBoxLayout;
    counter->addStretch();
    counter->addWidget(charLeftLabel);
    counter->addWidget(txtCharLeft_);
    auto* layout = new QVBoxLayout(frCourt_);
    layout->setContentsMargins(ui::Twips(300), ui::Twips(300), ui::Twips(300), ui::Twips(300));
    layout->setSpacing(ui::Twips(180));
    layout->addWidget(lblClientName_);
    layout->addWidget(txtComments_);
    layout->addLayout(counter);
    layout->addWidget(lblReportFit_);
    layout->addWidget(row);
    ui::FixAtSizeHint(frCourt_);
    ui::SetTabChain({txtComments_, buttons_->button(ui::PairButton::Accept),
                     buttons_->button(ui::PairButton::Cancel)});
    txtComments_->installEventFilter(this);
    connect(txtComments_, &QPlainTextEdit::textChanged, this, &frmComments::TextChanged);

    showReport_ = [this] { ViewReport(this, request_); };

    resize(frCourt_->width() + ui::Twips(1440),
           frCourt_->height() + msgPanel_->minimumHeight() + ui::Twips(1440));
    ui::CenterForm(this);
    loaded_ = LoadWindow();
    txtComments_->setFocus();
}

bool frmComments::LoadWindow() {
    txtCharLeft_->setText(QString::number(MaxLength));
    const bool read = RunWithRetry([] { LoadComments(); });
    const int client = Globals().CurrentClient;
    loadedText_ = read ? CommentText(client) : QString();
    txtComments_->setPlainText(loadedText_);
    ShowReportFit(loadedText_);
    txtComments_->moveCursor(QTextCursor::End);
    lblClientName_->setText(CurrentRecord().ClientName.trimmed());
    if (!read) {
        // Without the stored comments a save could not keep the other clients' comments.
        txtComments_->setReadOnly(true);
        buttons_->button(ui::PairButton::Accept)->setEnabled(false);
    }
    return read;
}

void frmComments::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    PlaceFrame();
}

void frmComments::PlaceFrame() {
    ui::PlaceFramed(area_, frCourt_, msgPanel_, ui::FramePlace::AbovePanel);
}

void frmComments::TextChanged() {
    if (adjusting_)
        return;
    QString text = txtComments_->toPlainText();
    QTextCursor cursor = txtComments_->textCursor();
    int position = cursor.position();
    bool refused = false;
    // Characters the single-byte comments file cannot hold would print as "?".
    for (int i = int(text.size()) - 1; i >= 0; --i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\n') &&
            (!cp1252::CanEncode(c) || c.category() == QChar::Other_Control)) {
            text.remove(i, 1);
            if (i < position)
                --position;
            refused = true;
        }
    }
    // Over the limit: what was just typed or pasted before the cursor is cut back.
    while (StoredLength(text) > MaxLength && position > 0) {
        text.remove(position - 1, 1);
        --position;
        refused = true;
    }
    while (StoredLength(text) > MaxLength) {
        text.chop(1);
        refused = true;
    }
    if (refused) {
        adjusting_ = true;
        txtComments_->setPlainText(text);
        cursor = txtComments_->textCursor();
        cursor.setPosition(std::min(position, int(text.size())));
        txtComments_->setTextCursor(cursor);
        adjusting_ = false;
        Beep();
    }
    txtCharLeft_->setText(QString::number(MaxLength - StoredLength(text)));
    ShowReportFit(text);
}

void frmComments::ShowReportFit(const QString& text) {
    const scoring::CommentFit fit = scoring::FitComment(text);
    QFont font = lblReportFit_->font();
    font.setBold(!fit.whole);
    lblReportFit_->setFont(font);
    lblReportFit_->setText(
        fit.whole ? QStringLiteral("The report prints this comment whole.")
                  : QStringLiteral("Too long for the report's %1 comment lines: only the first %2 "
                                   "characters print. Shorten the comment to print it all.")
                        .arg(scoring::CommentLines)
                        .arg(fit.printed));
}

void frmComments::keyPressEvent(QKeyEvent* e) {
    // Escape closes only while nothing has been typed: a comment is never lost to one key.
    if (e->key() == Qt::Key_Escape) {
        if (txtComments_->toPlainText() == loadedText_)
            reject();
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool frmComments::eventFilter(QObject* watched, QEvent* e) {
    if (watched == txtComments_ && e->type() == QEvent::FocusIn)
        msgPanel_->SetCaption(kTextHelp);
    return QDialog::eventFilter(watched, e);
}

void frmComments::InformationOk() {
    if (!loaded_)
        return;
    QString text = txtComments_->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (!RunWithRetry([&] { SaveComment(text); })) {
        if (!CommentReachedDisk(text)) {
            // The comment stays in the box, to be saved once the disk is back.
            txtComments_->setFocus();
            return;
        }
        MsgBox(QStringLiteral("The comment was stored after all: reading the data disk back "
                              "shows it."),
               MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Data Disk"));
    }
    saved_ = true;
    audit::Record(audit::Event::CommentSaved, Globals().CurrentClient);
    loadedText_ = txtComments_->toPlainText();
    if (showReport_)
        showReport_();
    accept();
}

} // namespace varenta::reports
