#include "supervisor/gui/frmAuditTrail.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/AuditTrail.h"
#include "ui/MenuButtons.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace varenta::supervisor {

namespace {

const QString kListHelp = QStringLiteral(
    "Newest events first. Use the arrow keys, Page Up, Page Down, Home and End to read on.");

} // namespace

frmAuditTrail::frmAuditTrail(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAuditTrail"));
    setWindowTitle(QStringLiteral("Audit Trail"));
    setModal(true);

    area_ = ui::AddDarkArea(this);
    fraAll_ = ui::AddRaisedFrame(area_, QStringLiteral("fraAll"));
    msgPanel_ = ui::AddFootPanel(area_);

    lblDisk_ = new QLabel(fraAll_);
    lblDisk_->setObjectName(QStringLiteral("lblDisk"));
    lblDisk_->setTextFormat(Qt::PlainText);
    lblDisk_->setText(
        QStringLiteral("Data disk: %1").arg(QDir::toNativeSeparators(Globals().DataPath)));

    fraAudit_ = new QGroupBox(QStringLiteral("What was done on this data disk"), fraAll_);
    fraAudit_->setObjectName(QStringLiteral("fraAudit"));
    list_ = new QListWidget(fraAudit_);
    list_->setObjectName(QStringLiteral("lstAuditTrail"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    ui::StyleClientList(list_, 96, ui::Twips(5400));
    list_->installEventFilter(this);
    auto* auditLayout = new QVBoxLayout(fraAudit_);
    auditLayout->addWidget(list_);
    ui::PaintSelectable(fraAudit_, false);

    buttons_ = new ui::MenuButtons(this, msgPanel_);
    QPushButton* back = buttons_->Add(QStringLiteral("Return to Main Menu"),
                                      QStringLiteral("Close the audit trail."), fraAll_);
    back->setMinimumWidth(ui::Twips(2700));
    connect(buttons_, &ui::MenuButtons::chosen, this, [this](int) { accept(); });

    auto* layout = new QVBoxLayout(fraAll_);
    layout->setContentsMargins(ui::Twips(240), ui::Twips(240), ui::Twips(240), ui::Twips(240));
    layout->setSpacing(ui::Twips(180));
    layout->addWidget(lblDisk_);
    layout->addWidget(fraAudit_);
    layout->addLayout(ui::CentredRow(buttons_->panel(0)));
    ui::FixAtSizeHint(fraAll_);
    ui::SetTabChain({list_, back});

    resize(fraAll_->width() + ui::Twips(1200),
           fraAll_->height() + msgPanel_->minimumHeight() + ui::Twips(2400));
    ui::CenterForm(this);
}

void frmAuditTrail::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    PlaceFrame();
    if (e->spontaneous() || filled_)
        return;
    filled_ = true;
    Fill();
    list_->setFocus(Qt::OtherFocusReason);
}

void frmAuditTrail::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    PlaceFrame();
}

void frmAuditTrail::PlaceFrame() {
    ui::PlaceFramed(area_, fraAll_, msgPanel_);
}

void frmAuditTrail::Fill() {
    list_->clear();
    std::vector<audit::Entry> entries;
    try {
        entries = audit::ReadLog(Globals().DataPath);
    } catch (const VError& e) {
        list_->addItem(QStringLiteral("The audit trail could not be read."));
        MsgBox(MsgLines({QStringLiteral("The audit trail of this data disk could not be read:"),
                         ErrorText(e)}),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Audit Trail"));
        return;
    }
    if (entries.empty()) {
        list_->addItem(QStringLiteral("No events are recorded on this data disk yet."));
    } else {
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            list_->addItem(audit::DisplayLine(*it));
    }
    fraAudit_->setTitle(
        entries.size() == 1
            ? QStringLiteral("What was done on this data disk: 1 event")
            : QStringLiteral("What was done on this data disk: %1 events").arg(entries.size()));
    list_->setCurrentRow(0);
}

bool frmAuditTrail::eventFilter(QObject* watched, QEvent* e) {
    if (watched == list_ && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut)) {
        const bool in = e->type() == QEvent::FocusIn;
        ui::PaintSelectable(fraAudit_, in);
        msgPanel_->SetCaption(in ? kListHelp : QString());
    }
    return QDialog::eventFilter(watched, e);
}

} // namespace varenta::supervisor
