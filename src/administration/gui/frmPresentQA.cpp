#include "administration/gui/frmPresentQA.h"

#include "administration/PresentationItems.h"
#include "administration/gui/AudioDevice.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "store/SaveWithRetry.h"
#include "ui/MenuButtons.h"
#include "ui/Palette.h"
#include "ui/WindowHelpers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>

namespace varenta::administration {

namespace {

// Text sizes in points: the client reads this window, often from further than staff do.
constexpr int kInstructionPoints = 15;
constexpr int kSmallestInstructionPoints = 10;
constexpr int kStatementPoints = 20;
constexpr int kAnswerPoints = 18;
constexpr int kCaptionPoints = 13;
constexpr int kHelpPoints = 15;

QFont Sized(QFont f, int points, bool bold = false) {
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

frmPresentQA::frmPresentQA(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPresentQA"));
    setWindowTitle(QStringLiteral("Question Presentation"));
    setModal(true);
    // No close button: the client leaves only by finishing the test.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    BuildControls();
}

frmPresentQA::~frmPresentQA() {
    if (presentation_)
        presentation_->SetViewHook({});
}

void frmPresentQA::BuildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // The frames sit in the middle of the screen, 500 twips above the true centre.
    auto* area = new QWidget(this);
    auto* column = new QVBoxLayout(area);
    column->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* stack = new QVBoxLayout;
    row->addLayout(stack);
    row->addStretch(1);
    column->addLayout(row);
    column->addSpacing(ui::Twips(1000));
    column->addStretch(1);
    outer->addWidget(area, 1);

    const QFont base = font();
    fraInstructions = new QGroupBox(QStringLiteral("Instructions"), area);
    fraInstructions->setObjectName(QStringLiteral("fraInstructions"));
    fraInstructions->setFont(Sized(base, kCaptionPoints, true));
    auto* instrLayout = new QVBoxLayout(fraInstructions);
    txtInstructions = new QPlainTextEdit(fraInstructions);
    txtInstructions->setObjectName(QStringLiteral("txtInstructions"));
    txtInstructions->setReadOnly(true);
    txtInstructions->setTextInteractionFlags(Qt::TextSelectableByKeyboard);
    txtInstructions->setFont(Sized(base, kInstructionPoints));
    txtInstructions->setFocusPolicy(Qt::StrongFocus);
    txtInstructions->setTabChangesFocus(false);
    txtInstructions->setCursorWidth(0); // nothing to edit here: no blinking caret
    instrLayout->addWidget(txtInstructions);
    stack->addWidget(fraInstructions);

    frQandA = new QFrame(area);
    frQandA->setObjectName(QStringLiteral("frQandA"));
    auto* qa = new QVBoxLayout(frQandA);
    qa->setContentsMargins(0, 0, 0, 0);
    qa->setSpacing(ui::Twips(240));

    fraQuestions = new QGroupBox(QStringLiteral("Question"), frQandA);
    fraQuestions->setObjectName(QStringLiteral("fraQuestions"));
    fraQuestions->setFont(Sized(base, kCaptionPoints, true));
    auto* qLayout = new QVBoxLayout(fraQuestions);
    txtQuestion = new QPlainTextEdit(fraQuestions);
    txtQuestion->setObjectName(QStringLiteral("txtQuestion"));
    txtQuestion->setReadOnly(true);
    txtQuestion->setTextInteractionFlags(Qt::TextSelectableByKeyboard);
    txtQuestion->setFont(Sized(base, kStatementPoints));
    txtQuestion->setFocusPolicy(Qt::StrongFocus);
    txtQuestion->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtQuestion->setFixedHeight(QFontMetrics(txtQuestion->font()).lineSpacing() * 3 +
                                ui::Twips(240));
    qLayout->addWidget(txtQuestion);
    qa->addWidget(fraQuestions);

    fraAnswer = new QGroupBox(QStringLiteral("Choose Answer"), frQandA);
    fraAnswer->setObjectName(QStringLiteral("fraAnswer"));
    fraAnswer->setFont(Sized(base, kCaptionPoints, true));
    auto* aLayout = new QVBoxLayout(fraAnswer);
    aLayout->setSpacing(ui::Twips(90));
    MsgPanel = new ui::MsgPanel(this);
    MsgPanel->setFont(Sized(base, kHelpPoints));
    MsgPanel->setWordWrap(true);
    menu_ = new ui::MenuButtons(this, MsgPanel);
    for (int i = 0; i < AnswerButtons; ++i) {
        // A null help line: the presentation sets the line itself, by language and sound.
        QPushButton* b = menu_->Add(QString::number(i + 1), QString(), fraAnswer);
        b->setFont(Sized(base, kAnswerPoints, true));
        b->setFixedWidth(ui::Twips(900));
        cmdMenuChoice[i] = b;
        sspMenuChoice[i] = menu_->panel(i);
        // The answer's text lies on the same panel, so the highlight surrounds the whole row.
        auto* text = new QLabel(sspMenuChoice[i]);
        text->setObjectName(QStringLiteral("txtButtonText(%1)").arg(i));
        text->setFont(Sized(base, kAnswerPoints));
        text->setWordWrap(true);
        text->setTextFormat(Qt::PlainText);
        text->setMinimumHeight(b->minimumHeight());
        text->setIndent(ui::Twips(120));
        text->installEventFilter(this);
        sspMenuChoice[i]->layout()->addWidget(text);
        static_cast<QHBoxLayout*>(sspMenuChoice[i]->layout())->setStretch(1, 1);
        txtButtonText[i] = text;
        aLayout->addWidget(sspMenuChoice[i]);
        // Installed after the menu buttons' own filter, so it sees the keys first.
        b->installEventFilter(this);
        PaintAnswer(i, false);
    }
    connect(menu_, &ui::MenuButtons::chosen, this, &frmPresentQA::Chosen);
    qa->addWidget(fraAnswer);
    stack->addWidget(frQandA);

    txtInstructions->installEventFilter(this);
    txtQuestion->installEventFilter(this);
    outer->addWidget(MsgPanel);

    ui::SetTabChain({txtQuestion, cmdMenuChoice[0], cmdMenuChoice[1], cmdMenuChoice[2],
                     cmdMenuChoice[3], cmdMenuChoice[4]});
    PaintStatement(false);
    fraInstructions->hide();
    frQandA->hide();
}

int frmPresentQA::exec() {
    if (!Prepare())
        return QDialog::Rejected;
    return QDialog::exec();
}

bool frmPresentQA::Prepare() {
    if (presentation_)
        return true;
    std::vector<PresentedItem> items;
    try {
        if (!itemSource_) {
            ownSource_ = std::make_unique<QuestionDbItems>();
            itemSource_ = ownSource_.get();
        }
        items = itemSource_->Items(language_);
    } catch (const std::exception& failure) {
        const auto* v = dynamic_cast<const VError*>(&failure);
        const QString reason = v ? v->description() : QString::fromUtf8(failure.what());
        // Nothing was given or stored: the new client is dropped, as when the test is
        // abandoned, and the operator is back at the menu without the supervisor's password.
        MsgBox(MsgLines({QStringLiteral("The test cannot be given: the questions could not be "
                                        "read."),
                         QString(), reason, QString(),
                         QStringLiteral("No client has been stored. Ask the supervisor to check "
                                        "the program's installation.")}),
               MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Question Presentation"));
        ClearClient();
        Globals().CurrentClient = 1;
        Globals().ContinueFlag = false;
        return false;
    }
    if (!waveDevice_) {
        ownDevice_ = std::make_unique<QtWaveDevice>();
        waveDevice_ = ownDevice_.get();
    }
    audio_ = std::make_unique<WaveAudio>(waveDevice_, Globals().SndPath, language_);
    presentation_ = std::make_unique<Presentation>(std::move(items), language_, *audio_);
    presentation_->SetViewHook([this] { Render(); });
    presentation_->SetSaver(SaveClientWithRetry);
    presentation_->Load();
    setWindowTitle(presentation_->Caption());
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        setGeometry(s->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    return true;
}

void frmPresentQA::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_ && presentation_) {
        activated_ = true;
        Activate();
    }
}

void frmPresentQA::Activate() {
    const int width = std::min(int(screen()->availableGeometry().width() * 0.9), 1200);
    fraInstructions->setFixedWidth(width);
    frQandA->setFixedWidth(width);
    for (int i = 0; i < AnswerButtons; ++i)
        PaintAnswer(i, false);
    Step([this] { presentation_->Activate(); });
}

template <typename F> void frmPresentQA::Step(F&& step) {
    if (!presentation_ || busy_)
        return;
    busy_ = true;
    try {
        step();
    } catch (const std::exception& e) {
        // Nothing may escape an event handler; the test itself carries on.
        MsgBox(QString::fromUtf8(e.what()), MsgButtons::Ok, MsgIcon::Critical);
    }
    Render();
    busy_ = false;
    if (presentation_->finished()) {
        Finish();
        return;
    }
    // A message box may have left no window active; the keys must come back here.
    if (isVisible() && !isActiveWindow())
        activateWindow();
    ApplyFocus();
}

void frmPresentQA::Render() {
    const Presentation& p = *presentation_;
    setWindowTitle(p.Caption());
    const bool instructions = p.InstructionsVisible();
    const bool questions = p.QuestionsVisible() && !instructions;
    const QString instructionText =
        QString(p.InstructionBoxText()).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (txtInstructions->toPlainText() != instructionText) {
        txtInstructions->setPlainText(instructionText);
        FitInstructions();
    }
    const QString statement = p.StatementText();
    if (txtQuestion->toPlainText() != statement) {
        txtQuestion->setPlainText(statement);
        QTextCursor c = txtQuestion->textCursor();
        c.movePosition(QTextCursor::Start);
        txtQuestion->setTextCursor(c);
    }
    for (int i = 0; i < AnswerButtons; ++i) {
        const bool visible = p.AnswerVisible(i);
        txtButtonText[i]->setText(p.AnswerText(i));
        sspMenuChoice[i]->setVisible(visible);
        cmdMenuChoice[i]->setVisible(visible);
        txtButtonText[i]->setVisible(visible);
    }
    fraInstructions->setVisible(instructions);
    frQandA->setVisible(questions);
    MsgPanel->SetCaption(p.HelpLine());
}

void frmPresentQA::FitInstructions() {
    // The whole text must show at once: the instruction screen takes no scrolling keys. On a
    // small screen a long text is set smaller rather than cut.
    const int available =
        std::max(screen()->availableGeometry().height() - ui::Twips(2400), ui::Twips(3000));
    QTextDocument doc;
    doc.setPlainText(txtInstructions->toPlainText());
    doc.setTextWidth(fraInstructions->width() - ui::Twips(600));
    QFont f = txtInstructions->font();
    int height = 0;
    for (int points = kInstructionPoints; points >= kSmallestInstructionPoints; --points) {
        f.setPointSize(points);
        doc.setDefaultFont(f);
        height = int(doc.size().height()) + ui::Twips(300);
        if (height <= available)
            break;
    }
    txtInstructions->setFont(f);
    txtInstructions->setFixedHeight(std::min(height, available));
}

void frmPresentQA::ApplyFocus() {
    for (int guard = 0; guard < 4 && presentation_ && !presentation_->finished(); ++guard) {
        switch (presentation_->TakeFocusRequest()) {
        case FocusRequest::None:
            return;
        case FocusRequest::Instructions:
            FocusOn(txtInstructions);
            break;
        case FocusRequest::Statement:
            FocusOn(txtQuestion);
            break;
        case FocusRequest::FirstAnswer:
            FocusOn(cmdMenuChoice[0]);
            break;
        }
    }
}

// Gives a control the focus so that its focus handling runs, also when it has the focus
// already (an item re-shown after F10 reads its statement again).
void frmPresentQA::FocusOn(QWidget* w) {
    if (w->hasFocus() || !w->isVisible() || !isActiveWindow()) {
        if (w->isVisible())
            w->setFocus(Qt::OtherFocusReason);
        FocusArrived(w);
    } else {
        w->setFocus(Qt::OtherFocusReason); // FocusIn runs the handling
    }
}

void frmPresentQA::FocusArrived(QWidget* w) {
    if (!presentation_ || busy_ || presentation_->finished())
        return;
    Presentation& p = *presentation_;
    if (w == txtInstructions) {
        p.InstructionsFocused();
        for (int i = 0; i < AnswerButtons; ++i)
            PaintAnswer(i, false);
    } else if (w == txtQuestion) {
        if (p.StatementFocused())
            PaintStatement(true);
    } else {
        for (int i = 0; i < AnswerButtons; ++i) {
            if (w == cmdMenuChoice[i]) {
                p.AnswerFocused(i);
                PaintAnswer(i, true);
            }
        }
    }
    MsgPanel->SetCaption(p.HelpLine());
    if (!busy_)
        ApplyFocus();
}

void frmPresentQA::FocusLeft(QWidget* w) {
    if (w == txtQuestion)
        PaintStatement(false);
    for (int i = 0; i < AnswerButtons; ++i)
        if (w == cmdMenuChoice[i])
            PaintAnswer(i, false);
}

void frmPresentQA::PaintStatement(bool focused) {
    QPalette pal = txtQuestion->palette();
    pal.setColor(QPalette::Base, focused ? ui::Cyan : ui::Blue);
    pal.setColor(QPalette::Text, focused ? Qt::black : Qt::white);
    pal.setColor(QPalette::Highlight, focused ? ui::Cyan : ui::Blue);
    pal.setColor(QPalette::HighlightedText, focused ? Qt::black : Qt::white);
    txtQuestion->setPalette(pal);
}

void frmPresentQA::PaintAnswer(int i, bool highlighted) {
    QLabel* text = txtButtonText[i];
    QFont f = text->font();
    f.setBold(highlighted);
    text->setFont(f);
    QPalette pal = text->palette();
    pal.setColor(QPalette::WindowText, highlighted ? Qt::black : Qt::white);
    text->setPalette(pal);
}

void frmPresentQA::MoveToAnswer(int from, int step) {
    for (int i = from + step; i >= 0 && i < AnswerButtons; i += step) {
        if (cmdMenuChoice[i]->isVisibleTo(this)) {
            cmdMenuChoice[i]->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return;
        }
    }
}

bool frmPresentQA::HandleKey(QObject* watched, QKeyEvent* key) {
    const auto mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_F10) {
        if (mods == (Qt::ShiftModifier | Qt::AltModifier))
            Step([this] { presentation_->Abandon(); });
        else if (mods == Qt::NoModifier && !key->isAutoRepeat())
            Step([this] { presentation_->GoBack(); });
        return true;
    }
    if (key->key() == Qt::Key_Escape)
        return true;
    if (watched == txtInstructions) {
        // Only Enter and Tab act here; a held-down Enter must not skip a screen.
        if ((IsEnter(key) && !key->isAutoRepeat()) || key->key() == Qt::Key_Tab)
            Step([this] { presentation_->ContinueFromInstructions(); });
        return true;
    }
    if (watched == txtQuestion) {
        if (key->key() == Qt::Key_Down || key->key() == Qt::Key_Tab)
            MoveToAnswer(-1, +1);
        else if (key->key() == Qt::Key_Backtab)
            MoveToAnswer(AnswerButtons, -1);
        return true; // every other key is taken here
    }
    for (int i = 0; i < AnswerButtons; ++i) {
        if (watched != cmdMenuChoice[i])
            continue;
        switch (key->key()) {
        case Qt::Key_Up:
            if (i == 0)
                txtQuestion->setFocus(Qt::BacktabFocusReason); // hears the question again
            else
                MoveToAnswer(i, -1);
            return true;
        case Qt::Key_Down:
            MoveToAnswer(i, +1); // the last answer keeps the focus
            return true;
        case Qt::Key_Tab: {
            const QWidget* before = QApplication::focusWidget();
            MoveToAnswer(i, +1);
            if (QApplication::focusWidget() == before)
                txtQuestion->setFocus(Qt::TabFocusReason); // round to the question again
            return true;
        }
        case Qt::Key_Backtab:
            if (i == 0)
                txtQuestion->setFocus(Qt::BacktabFocusReason);
            else
                MoveToAnswer(i, -1);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            return true;
        default:
            return false; // Enter and the space bar select, through the menu buttons
        }
    }
    return false;
}

bool frmPresentQA::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        if (presentation_ && !presentation_->finished())
            return HandleKey(watched, static_cast<QKeyEvent*>(event));
        return true;
    case QEvent::ShortcutOverride: {
        // Keep Tab and the arrows from being taken as shortcuts before they reach us.
        event->accept();
        return false;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // The window losing and regaining activation (a message box came and went) is not the
        // client moving: nothing is read again.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (event->type() == QEvent::FocusIn)
            FocusArrived(w);
        else
            FocusLeft(w);
        return false;
    }
    case QEvent::MouseButtonRelease:
        for (int i = 0; i < AnswerButtons; ++i) {
            if (watched == txtButtonText[i] && presentation_ && !busy_) {
                Chosen(i);
                return true;
            }
        }
        return false;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void frmPresentQA::keyPressEvent(QKeyEvent* event) {
    // Keys that reach the window itself (no control has the focus): only the two F10s count.
    if (presentation_ && !presentation_->finished() && event->key() == Qt::Key_F10) {
        HandleKey(this, event);
        return;
    }
    event->accept();
}

void frmPresentQA::Chosen(int i) {
    if (i < 0 || i >= AnswerButtons || !cmdMenuChoice[i]->isVisible())
        return;
    PaintAnswer(i, false);
    ui::SetBackground(sspMenuChoice[i], ui::Blue);
    Step([this, i] { presentation_->SelectAnswer(i); });
}

void frmPresentQA::Finish() {
    if (closing_)
        return;
    closing_ = true;
    presentation_->Close();
    const bool stored = presentation_->state() == Presentation::State::Completed;
    QDialog::done(stored ? QDialog::Accepted : QDialog::Rejected);
}

void frmPresentQA::reject() {
    if (!presentation_ || presentation_->finished())
        QDialog::reject();
}

void frmPresentQA::closeEvent(QCloseEvent* event) {
    if (presentation_ && !presentation_->finished() && !closing_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool PresentTest(const QString& language, QWidget* parent) {
    frmPresentQA form(parent);
    form.SetLanguage(language);
    return form.exec() == QDialog::Accepted;
}

} // namespace varenta::administration
