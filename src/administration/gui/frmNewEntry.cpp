#include "administration/gui/frmNewEntry.h"

#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "intake/CourtHistory.h"
#include "store/AuditTrail.h"
#include "store/SaveWithRetry.h"
#include "ui/MenuButtons.h"
#include "ui/Palette.h"
#include "ui/WindowFrame.h"
#include "ui/WindowHelpers.h"

#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace varenta::administration {

frmNewEntry::frmNewEntry(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmNewEntry"));
    setWindowTitle(QStringLiteral("Edit Client Responses"));
    setModal(true);

    lblClientName_ = ui::AddClientNameLabel(this);
    frEntry_ = ui::AddSunkenFrame(this, QStringLiteral("frEntry"));
    auto* gridRow = new QHBoxLayout(frEntry_);
    gridRow->setContentsMargins(ui::Twips(200), ui::Twips(150), ui::Twips(200), ui::Twips(200));
    gridRow->setSpacing(ui::Twips(300));

    msgPanel_ = ui::AddHelpLine(this);
    buttons_ = new ui::MenuButtons(this, msgPanel_);
    QWidget* buttonRow = ui::AddButtonPair(
        buttons_, this,
        {QStringLiteral("Save"),
         QStringLiteral("SAVE data, close this window and return to Main Menu"),
         [this] { Save(); }},
        {QStringLiteral("Cancel"),
         QStringLiteral("DISCARD data, close this window and return to Main Menu"),
         [this] { Cancel(); }},
        ui::Twips(1600), ui::Twips(300));
    buttons_->button(ui::PairButton::Accept)->setEnabled(false);
    buttons_->button(ui::PairButton::Cancel)->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(ui::Twips(150), ui::Twips(150), ui::Twips(150), 0);
    layout->addWidget(lblClientName_);
    layout->addSpacing(ui::Twips(100));
    layout->addLayout(ui::CentredRow(frEntry_));
    layout->addSpacing(ui::Twips(200));
    layout->addWidget(buttonRow);
    layout->addSpacing(ui::Twips(200));
    layout->addWidget(msgPanel_);
}

frmNewEntry::~frmNewEntry() = default;

bool frmNewEntry::Load() {
    if (loaded_ || failed_)
        return loaded_;
    lblClientName_->setText(CurrentRecord().ClientName);
    try {
        {
            QuestionDb db;
            dQuestions_ = db.OpenTable(QStringLiteral("English"));
        }
        sheet_ = AnswerGrid::FromTable(dQuestions_);
        if (sheet_.GridCount() == 0)
            throw VError(err::DbCannotOpen,
                         QStringLiteral("The question table English of %1 holds no items. "
                                        "Reinstall the program's files.")
                             .arg(dQuestions_.file()));
    } catch (const VError& e) {
        failed_ = true;
        MsgBox(ErrorText(e), MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    sheet_.SetResponses(CurrentRecord().Responses);
    BuildGrids();
    loaded_ = true;
    return true;
}

void frmNewEntry::BuildGrids() {
    auto* row = static_cast<QHBoxLayout*>(frEntry_->layout());
    const QColor buttonFace = palette().color(QPalette::Button);
    const int itemColumn =
        qMax(ui::Twips(400), fontMetrics().horizontalAdvance(QStringLiteral("116.")) + 10);
    const int answerColumn =
        qMax(ui::Twips(200), fontMetrics().horizontalAdvance(QStringLiteral("X")) + 14);
    const int rowHeight = fontMetrics().height() + 4;
    remembered_.clear();
    for (int g = 0; g < sheet_.GridCount(); ++g) {
        const int columns = sheet_.AnswerCount(g) + 1;
        auto* grid = new QTableWidget(sheet_.RowCount(g), columns, frEntry_);
        grid->setObjectName(QStringLiteral("grdResponses(%1)").arg(g));
        grid->setProperty("family", sheet_.Family(g)); // the grid's tag
        grid->setHorizontalHeaderLabels(sheet_.Headers(g));
        grid->verticalHeader()->hide();
        grid->verticalHeader()->setMinimumSectionSize(rowHeight);
        grid->verticalHeader()->setDefaultSectionSize(rowHeight);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        grid->horizontalHeader()->setMinimumSectionSize(answerColumn);
        grid->horizontalHeader()->setHighlightSections(false);
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSelectionMode(QAbstractItemView::NoSelection);
        grid->setTabKeyNavigation(false);
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        grid->setFocusPolicy(Qt::StrongFocus);
        grdResponses_.push_back(grid);
        int width = 0;
        for (int c = 0; c < columns; ++c) {
            grid->setColumnWidth(c, c == 0 ? itemColumn : answerColumn);
            width += grid->columnWidth(c);
            SetGridCellColor(grid, 0, c, buttonFace, Qt::black);
        }
        for (int r = 1; r <= sheet_.RowCount(g); ++r) {
            auto* item =
                new QTableWidgetItem(QString::number(sheet_.ItemAt(g, r)) + QLatin1Char('.'));
            item->setFlags(Qt::ItemIsEnabled);
            grid->setItem(r - 1, 0, item);
            for (int c = 1; c < columns; ++c) {
                auto* cell = new QTableWidgetItem;
                cell->setFlags(Qt::ItemIsEnabled);
                cell->setTextAlignment(Qt::AlignCenter);
                grid->setItem(r - 1, c, cell);
            }
            PaintRow(g, r, false);
        }
        grid->setFixedWidth(width + grid->verticalScrollBar()->sizeHint().width() +
                            2 * grid->frameWidth());
        grid->setFixedHeight(ui::Twips(5400));
        grid->installEventFilter(this);
        grid->viewport()->installEventFilter(this);

        auto* label = new QLabel(QStringLiteral("Section %1").arg(g + 1), frEntry_);
        label->setObjectName(QStringLiteral("lblSection(%1)").arg(g));
        auto* column = new QVBoxLayout;
        column->setSpacing(ui::Twips(60));
        column->addWidget(label);
        column->addWidget(grid);
        row->addLayout(column);
        lblSection_.push_back(label);
        remembered_.push_back(AnswerGrid::Pos{g, 1});
    }
    QList<QWidget*> chain(grdResponses_.begin(), grdResponses_.end());
    ui::SetTabChain(chain << buttons_->button(ui::PairButton::Accept)
                          << buttons_->button(ui::PairButton::Cancel));
}

void frmNewEntry::SetGridCellColor(QTableWidget* grd, int RowNum, int ColNum, const QColor& BkClr,
                                   const QColor& FrClr) {
    if (!grd || ColNum < 0 || ColNum >= grd->columnCount())
        return;
    if (RowNum == 0) {
        QTableWidgetItem* header = grd->horizontalHeaderItem(ColNum);
        if (!header) {
            header = new QTableWidgetItem;
            grd->setHorizontalHeaderItem(ColNum, header);
        }
        header->setBackground(BkClr);
        header->setForeground(FrClr);
        return;
    }
    QTableWidgetItem* item = grd->item(RowNum - 1, ColNum);
    if (!item)
        return;
    grd->setCurrentCell(RowNum - 1, ColNum, QItemSelectionModel::NoUpdate);
    item->setBackground(BkClr);
    item->setForeground(FrClr);
}

void frmNewEntry::PaintRow(int g, int row, bool editing) {
    QTableWidget* grid = grdResponses_.value(g);
    if (!grid || row < 1 || row > sheet_.RowCount(g))
        return;
    const int x = sheet_.XColumn(g, row);
    for (int c = 1; c <= sheet_.AnswerCount(g); ++c) {
        QTableWidgetItem* item = grid->item(row - 1, c);
        item->setText(c == x ? QStringLiteral("X") : QString());
        item->setBackground(editing ? (c == x ? ui::Green : ui::Cyan) : QColor(Qt::white));
        item->setForeground(editing ? QColor(Qt::black) : ui::DarkBlue);
    }
}

void frmNewEntry::ShowPosition(bool focusGrid) {
    if (painted_.grid >= 0)
        PaintRow(painted_.grid, painted_.row, false);
    const AnswerGrid::Pos p = sheet_.pos;
    QTableWidget* grid = grdResponses_.value(p.grid);
    if (!grid)
        return;
    PaintRow(p.grid, p.row, true);
    painted_ = p;
    // Every row shown is its grid's row from now on, however the grid is left afterwards
    // (Tab, an arrow, or the digit on its last row), so the grid comes back on it.
    remembered_[p.grid] = p;
    grid->setCurrentCell(p.row - 1, 0, QItemSelectionModel::NoUpdate);
    grid->scrollToItem(grid->item(p.row - 1, 0));
    if (focusGrid && !grid->hasFocus()) {
        moving_ = true;
        grid->setFocus(Qt::OtherFocusReason);
        moving_ = false;
    }
}

void frmNewEntry::GridFocusIn(int g) {
    if (!moving_)
        sheet_.pos = remembered_.value(g, AnswerGrid::Pos{g, 1});
    msgPanel_->SetCaption(AnswerHelpLine(sheet_.Family(g)));
    ShowPosition(false);
}

void frmNewEntry::GridFocusOut(int g) {
    if (sheet_.pos.grid == g)
        remembered_[g] = sheet_.pos;
    if (painted_.grid == g) {
        PaintRow(painted_.grid, painted_.row, false);
        painted_ = {-1, 0};
    }
}

bool frmNewEntry::GridKey(int g, QKeyEvent* key) {
    if (sheet_.pos.grid != g)
        sheet_.pos = remembered_.value(g, AnswerGrid::Pos{g, 1});
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    case Qt::Key_Up:
        if (sheet_.MoveUp())
            ShowPosition(true);
        else
            Beep();
        return true;
    case Qt::Key_Down:
        if (sheet_.MoveDown())
            ShowPosition(true);
        else
            Beep();
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20 ||
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return true; // arrows sideways, Home, Escape and the like do nothing here
    bool atEnd = false;
    if (!sheet_.Enter(text.at(0), &atEnd)) {
        Beep();
        return true;
    }
    ShowPosition(true);
    if (atEnd)
        Beep(); // the last item of the sheet: nowhere further down
    return true;
}

bool frmNewEntry::eventFilter(QObject* watched, QEvent* event) {
    for (int g = 0; g < grdResponses_.size(); ++g) {
        QTableWidget* grid = grdResponses_[g];
        if (watched == grid) {
            switch (event->type()) {
            case QEvent::FocusIn:
                GridFocusIn(g);
                return false;
            case QEvent::FocusOut: {
                const auto reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                    GridFocusOut(g);
                return false;
            }
            case QEvent::KeyPress:
                return GridKey(g, static_cast<QKeyEvent*>(event));
            default:
                return false;
            }
        }
        if (watched == grid->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                            event->type() == QEvent::MouseButtonDblClick)) {
            const QModelIndex index =
                grid->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (index.isValid()) {
                sheet_.pos = {g, index.row() + 1};
                remembered_[g] = sheet_.pos;
                ShowPosition(true);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmNewEntry::showEvent(QShowEvent* event) {
    const bool first = !loaded_ && !failed_;
    QDialog::showEvent(event);
    if (!first)
        return;
    QTimer::singleShot(0, this, [this] {
        ui::CenterForm(this);
        buttons_->ResetMenuButtons();
        ui::BusyPointer();
        const bool ok = Load();
        ui::NormalPointer();
        if (!ok) {
            Cancel(); // nothing was typed yet: close as Cancel would
            return;
        }
        // Wide enough for the longest help line of its grids.
        int help = 0;
        for (int g = 0; g < sheet_.GridCount(); ++g)
            help = qMax(
                help, msgPanel_->fontMetrics().horizontalAdvance(AnswerHelpLine(sheet_.Family(g))));
        setMinimumWidth(help + 2 * msgPanel_->indent() + ui::Twips(600));
        adjustSize();
        ui::CenterForm(this);
        buttons_->button(ui::PairButton::Accept)->setEnabled(true);
        buttons_->button(ui::PairButton::Cancel)->setEnabled(true);
        sheet_.pos = {0, 1};
        grdResponses_[0]->setFocus(Qt::OtherFocusReason);
        ShowPosition(true);
    });
}

void frmNewEntry::keyPressEvent(QKeyEvent* event) {
    // A stray Escape must not throw away a sheet of keyed answers: only Cancel does.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void frmNewEntry::Save() {
    QPushButton* save = buttons_->button(ui::PairButton::Accept);
    save->setEnabled(false);
    GlobalState& g = Globals();
    ClientRecord& r = CurrentRecord();
    const QString before = r.Responses;
    r.Responses = Cells();
    if (!SaveClientWithRetry(g.CurrentClient)) {
        r.Responses = before; // nothing unwritten looks stored; the grids keep the answers
        save->setEnabled(true);
        save->setFocus(Qt::OtherFocusReason);
        return;
    }
    audit::Record(g.EditMode ? audit::Event::AnswersFromSheet : audit::Event::AddedFromSheet,
                  g.CurrentClient);
    if (!g.EditMode)
        ++g.ClientCount;
    done_ = true;
    QDialog::accept();
}

void frmNewEntry::Cancel() {
    buttons_->button(ui::PairButton::Cancel)->setEnabled(false);
    if (!Globals().EditMode)
        intake::DiscardNewClient();
    done_ = true;
    QDialog::reject();
}

void frmNewEntry::reject() {
    if (!done_)
        Cancel();
}

} // namespace varenta::administration
