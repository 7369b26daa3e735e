#include "administration/gui/frmSelectLanguage.h"

#include "administration/QuestionDb.h"
#include "app/Globals.h"
#include "intake/CourtHistory.h"
#include "ui/MenuButtons.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace varenta::administration {

frmSelectLanguage::frmSelectLanguage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelectLanguage"));
    setWindowTitle(QStringLiteral("Select Presentation Language"));
    setModal(true);
    resize(ui::Twips(7200), ui::Twips(5400));

    fraSelectMethod_ = ui::AddChoiceFrame(this, QStringLiteral("Select Language to Present"));
    QLayout* column = fraSelectMethod_->layout();
    msgPanel_ = ui::AddHelpLine(this);
    buttons_ = new ui::MenuButtons(this, msgPanel_);
    const char* placeholders[] = {"One", "Two", "Three"};
    for (int i = 0; i < LanguageButtons; ++i) {
        QPushButton* b =
            buttons_->Add(QString::fromLatin1(placeholders[i]), QString(), fraSelectMethod_);
        b->setMinimumWidth(ui::Twips(3000));
        column->addWidget(buttons_->panel(i));
        buttons_->panel(i)->setVisible(false); // until a table is found for it
    }
    buttons_->Add(QStringLiteral("Cancel Presentation"), QStringLiteral("Cancel presentation"),
                  fraSelectMethod_);
    column->addWidget(buttons_->panel(CancelPresentation));
    connect(buttons_, &ui::MenuButtons::chosen, this, [this](int i) { Chosen(i); });

    ui::AboveMiddleColumn(this, msgPanel_)->addLayout(ui::CentredRow(fraSelectMethod_));
}

int frmSelectLanguage::LanguageCount() {
    QStringList tables;
    {
        QuestionDb db;
        tables = db.TableNames();
    }
    int n = 0;
    for (const QString& name : tables) {
        if (n >= LanguageButtons)
            break;
        if (name != QLatin1String("English") && name != QLatin1String("Spanish"))
            continue;
        buttons_->button(n)->setText(name);
        buttons_->SetHelpLine(n, QStringLiteral("Present in ") + name);
        buttons_->panel(n)->setVisible(true);
        ++n;
    }
    return n;
}

QString frmSelectLanguage::LanguageCaption(int i) const {
    return buttons_->button(i) ? buttons_->button(i)->text() : QString();
}

void frmSelectLanguage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::CenterForm(this);
    QTimer::singleShot(0, this, [this] {
        buttons_->ResetMenuButtons();
        buttons_->button(FirstLanguage)->setFocus(Qt::OtherFocusReason);
    });
}

void frmSelectLanguage::Chosen(int i) {
    GlobalState& g = Globals();
    done_ = true;
    if (i < CancelPresentation) {
        language_ = buttons_->button(i)->text();
        g.ContinueFlag = true;
        QDialog::accept();
        return;
    }
    if (!g.EditMode)
        intake::DiscardNewClient();
    g.ContinueFlag = false;
    QDialog::reject();
}

void frmSelectLanguage::reject() {
    if (!done_)
        Chosen(CancelPresentation);
}

} // namespace varenta::administration
