#include "administration/Presentation.h"

#include "administration/TestSpec.h"
#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/AuditTrail.h"
#include "store/ClientStore.h"

namespace varenta::administration {

namespace {

const char* const kInstructionWaves[4] = {"Inst0.wav", "Inst1.wav", "Inst2.wav", "Inst3.wav"};

QString Wave(const QString& base) {
    return base.trimmed() + QStringLiteral(".wav");
}

// Writes the record once; the window replaces this with the data-disk retry dialog.
bool SaveOnce(int slot) {
    try {
        SaveClient(slot);
        return true;
    } catch (const VError&) {
        return false;
    }
}

} // namespace

void CheckPresentedItems(const std::vector<PresentedItem>& items, const QString& language) {
    const auto fault = [&](const QString& what) {
        return VError(
            err::DbCannotOpen,
            QStringLiteral("The %1 question table is incomplete: %2").arg(language, what));
    };
    for (int n = 0; n < int(items.size()) && n < ItemCount; ++n) {
        const PresentedItem& item = items[n];
        if (item.id != n + 1)
            throw fault(QStringLiteral("item %1 is missing (row %2 holds item %3).")
                            .arg(n + 1)
                            .arg(n + 1)
                            .arg(item.id));
        if (item.statement.trimmed().isEmpty())
            throw fault(QStringLiteral("item %1 has no statement.").arg(item.id));
        if (item.answers[0].trimmed().isEmpty() || item.answers[1].trimmed().isEmpty())
            throw fault(QStringLiteral("item %1 has fewer than two answers.").arg(item.id));
    }
    if (int(items.size()) < ItemCount)
        throw fault(
            QStringLiteral("it holds %1 items, the test has %2.").arg(items.size()).arg(ItemCount));
    if (int(items.size()) > ItemCount)
        throw fault(QStringLiteral("it holds %1 rows, the test has %2 items.")
                        .arg(items.size())
                        .arg(ItemCount));
}

Presentation::Presentation(std::vector<PresentedItem> items, const QString& language,
                           WaveAudio& audio)
    : items_(std::move(items)), language_(language),
      spanish_(language.toUpper() == QLatin1String("SPANISH")), audio_(audio), saver_(SaveOnce) {}

QString Presentation::Caption() const {
    return spanish_ ? QStringLiteral("Presentación de preguntas")
                    : QStringLiteral("Question Presentation");
}

QString Presentation::InstructionsHelpLine() const {
    return spanish_ ? QStringLiteral("Oprima la tecla «Enter» para seguir.")
                    : QStringLiteral("When ready press Enter to continue.");
}

QString Presentation::ItemHelpLine() const {
    return spanish_ ? QStringLiteral("Oprima las teclas de flechas Hacia Arriba o Hacia Abajo para "
                                     "iluminar su respuesta. Luego oprima la tecla «Enter». Oprima "
                                     "la tecla «F10» para ver la pregunta anterior.")
                    : QStringLiteral("Use Up or Down arrow keys to highlight answer, then press "
                                     "Enter. Press F10 to go back to previous question.");
}

QString Presentation::AnswerHelpLine() const {
    if (spanish_)
        return QStringLiteral("Ilumine la respuesta que usted escoja y luego oprima la tecla "
                              "«Enter».");
    if (audio_.SoundOn())
        return QStringLiteral(
            "Press Enter to select this answer. Press Tab or Arrows to hear question again.");
    return QStringLiteral("Press Enter to select this answer.");
}

QString Presentation::SaveFailedText() const {
    QStringList lines;
    if (spanish_)
        lines << QStringLiteral("Llame al encargado de administrar la prueba.") << QString();
    lines << QStringLiteral("The test is complete, but the answers could not be saved: the data "
                            "disk could not be written.")
          << QString()
          << QStringLiteral("The answers are kept in memory. Insert the data disk (writable), "
                            "then press Enter to save them.");
    return lines.join(QLatin1Char('\n'));
}

QString Presentation::SaveFailedHelpLine() const {
    return QStringLiteral("Insert the data disk, then press Enter to save the answers.");
}

void Presentation::Load() {
    firstItem_ = true;
    GetNextQuestion();
    answers_.fill(0);
    goingBack_ = false;
    instructionsVisible_ = true;
}

void Presentation::Activate() {
    if (activated_)
        return; // a window becomes active again after every message box: start only once
    activated_ = true;
    audio_.InitAudio();
    SetInstructionTexts(language_);
    showingGeneral_ = true;
    TestInstructions(0);
    audio_.PlayWave(QString::fromLatin1(kInstructionWaves[0]));
}

void Presentation::TestInstructions(int section) {
    instructionBox_.clear();
    instructionsVisible_ = true;
    if (section >= 0 && section <= 3) {
        instructionBox_ = InstructionText(section);
        focus_ = FocusRequest::Instructions;
    }
}

void Presentation::InstructionsFocused() {
    if (state_ == State::Running)
        helpLine_ = InstructionsHelpLine();
}

void Presentation::ContinueFromInstructions() {
    if (state_ == State::SaveFailed) {
        RetrySave();
        return;
    }
    if (state_ != State::Running || !instructionsVisible_)
        return;
    instructionsVisible_ = false;
    questionsVisible_ = true;
    if (showingGeneral_) {
        showingGeneral_ = false;
        TestInstructions(1);
        audio_.PlayWave(QString::fromLatin1(kInstructionWaves[1]));
    } else {
        helpLine_ = ItemHelpLine();
        focus_ = FocusRequest::Statement;
    }
}

bool Presentation::StatementFocused() {
    if (state_ != State::Running)
        return true;
    if (instructionsVisible_) {
        focus_ = FocusRequest::Instructions;
        return false;
    }
    helpLine_ = ItemHelpLine();
    audio_.PlayWave(questionWave_);
    return true;
}

void Presentation::AnswerFocused(int i) {
    if (state_ != State::Running || i < 0 || i > 4 || instructionsVisible_)
        return;
    helpLine_ = AnswerHelpLine();
    audio_.PlayWave(answerWaves_[i]);
}

void Presentation::SelectAnswer(int i) {
    const PresentedItem* item = CurrentRow();
    if (state_ != State::Running || instructionsVisible_ || !item || !AnswerVisible(i))
        return;
    const int id = item->id;
    answers_[id] = i + 1;
    const auto& ends = Globals().SectionEnd;
    for (int k = 1; k <= 3; ++k) {
        if (id != ends[k])
            continue;
        audio_.StopSound();
        questionsVisible_ = false;
        if (k < 3) {
            ShowSectionNote();
            questionsVisible_ = true;
        } else {
            helpLine_.clear();
            ShowClosingMessage();
        }
    }
    if (id < ItemCount)
        focus_ = FocusRequest::Statement;
    GetNextQuestion();
}

void Presentation::ShowSectionNote() {
    helpLine_.clear();
    ViewChanged();
    if (spanish_)
        MsgBox(QStringLiteral("Usted ha terminado esta parte de la prueba. Oprima la tecla «Enter» "
                              "para seguir."),
               MsgButtons::Ok, MsgIcon::None, QStringLiteral("Nota de Presentación"));
    else
        MsgBox(QStringLiteral("You have completed this part of the test. Press Enter to continue."),
               MsgButtons::Ok, MsgIcon::None, QStringLiteral("Presentation Note"));
}

void Presentation::ShowClosingMessage() {
    ViewChanged();
    if (spanish_)
        MsgBox(MsgLines({QStringLiteral("Usted ha terminado la prueba. Se le agradece su "
                                        "participacion."),
                         QString(), QStringLiteral("Oprima la tecla <<Enter>> para terminar.")}),
               MsgButtons::Ok, MsgIcon::None, QStringLiteral("Nota de Presentacion"));
    else
        MsgBox(MsgLines({QStringLiteral("You have completed the test. Thank you for your "
                                        "participation."),
                         QString(), QStringLiteral("Press Enter to continue.")}),
               MsgButtons::Ok, MsgIcon::None, QStringLiteral("Presentation Note"));
}

void Presentation::GetNextQuestion() {
    if (firstItem_) {
        questionNumber_ = 1;
        firstItem_ = false;
    } else {
        ++questionNumber_;
    }
    if (questionNumber_ > ItemCount && !goingBack_) {
        helpLine_.clear();
        StoreResponses();
        return;
    }
    questionsVisible_ = true;
    if (questionNumber_ > 1) {
        if (row_ + 1 >= int(items_.size()))
            return; // no row to move to; the checked table never gets here
        ++row_;
        questionNumber_ = items_[row_].id;
    } else {
        row_ = 0;
    }
    const auto& ends = Globals().SectionEnd;
    for (int k = 1; k <= 2; ++k) {
        if (!goingBack_ && questionNumber_ == ends[k] + 1) {
            audio_.StopSound();
            questionsVisible_ = false;
            TestInstructions(k + 1);
            audio_.PlayWave(QString::fromLatin1(kInstructionWaves[k + 1]));
            break;
        }
    }
    FillItem();
}

void Presentation::FillItem() {
    const PresentedItem* item = CurrentRow();
    if (!item)
        return;
    questionWave_ = Wave(item->questionAudio);
    for (int k = 0; k < 5; ++k)
        answerWaves_[k] = AnswerVisible(k) ? Wave(item->choiceAudio[k]) : QString();
}

void Presentation::GoBack() {
    if (state_ != State::Running || instructionsVisible_)
        return;
    const PresentedItem* item = CurrentRow();
    if (!item || item->id == 1 || row_ <= 0) {
        Beep();
        return;
    }
    // Step the cursor two rows back and let GetNextQuestion step forward one, as it does for
    // any item, with the section instructions and the end of the test held off.
    row_ -= 2;
    goingBack_ = true;
    GetNextQuestion();
    goingBack_ = false;
    focus_ = FocusRequest::Statement;
}

void Presentation::Abandon() {
    if (finished())
        return;
    // Once all answers are given, leaving loses them: only on the supervisor's word.
    if (state_ == State::SaveFailed &&
        MsgBox(MsgLines({QStringLiteral("The client's answers have not been saved."),
                         QStringLiteral("If you leave now they are lost."), QString(),
                         QStringLiteral("Discard the answers?")}),
               MsgButtons::YesNo, MsgIcon::Exclamation, Caption()) != MsgAnswer::Yes)
        return;
    audio_.StopSound();
    ClearClient();
    Globals().CurrentClient = 1;
    state_ = State::Abandoned;
    focus_ = FocusRequest::None;
}

QString Presentation::ResponseString() const {
    QString responses;
    responses.reserve(ItemCount);
    for (int n = 1; n <= ItemCount; ++n)
        responses += QChar(u'0' + (answers_[n] % 10));
    return responses;
}

void Presentation::StoreResponses() {
    auto& g = Globals();
    const int slot = g.CurrentClient;
    CurrentRecord().Responses = ResponseString();
    state_ = State::SaveFailed;
    questionsVisible_ = false;
    instructionsVisible_ = false;
    ViewChanged();
    if (!saver_ || !saver_(slot)) {
        // The answers stay in memory; the window offers the data disk again.
        instructionsVisible_ = true;
        instructionBox_ = SaveFailedText();
        helpLine_ = SaveFailedHelpLine();
        focus_ = FocusRequest::Instructions;
        return;
    }
    audit::Record(audit::Event::AddedOnScreen, slot);
    if (slot > g.ClientCount)
        g.ClientCount = qint16(slot);
    g.ContinueFlag = true;
    state_ = State::Completed;
    instructionsVisible_ = false;
    focus_ = FocusRequest::None;
}

void Presentation::RetrySave() {
    if (state_ == State::SaveFailed)
        StoreResponses();
}

void Presentation::Close() {
    audio_.StopSound();
}

FocusRequest Presentation::TakeFocusRequest() {
    const FocusRequest f = focus_;
    focus_ = FocusRequest::None;
    return f;
}

const PresentedItem* Presentation::CurrentRow() const {
    return row_ >= 0 && row_ < int(items_.size()) ? &items_[row_] : nullptr;
}

int Presentation::CurrentItemId() const {
    const PresentedItem* item = CurrentRow();
    return item ? item->id : 0;
}

QString Presentation::StatementText() const {
    const PresentedItem* item = CurrentRow();
    return item ? QStringLiteral("%1. %2").arg(item->id).arg(item->statement) : QString();
}

bool Presentation::AnswerVisible(int i) const {
    const PresentedItem* item = CurrentRow();
    if (!item || i < 0 || i > 4)
        return false;
    return i < 2 || !item->answers[i].isEmpty();
}

QString Presentation::AnswerText(int i) const {
    return AnswerVisible(i) ? CurrentRow()->answers[i] : QString();
}

int Presentation::VisibleAnswerCount() const {
    int n = 0;
    for (int i = 0; i < 5; ++i)
        n += AnswerVisible(i) ? 1 : 0;
    return n;
}

int Presentation::Answer(int id) const {
    return id >= 1 && id <= ItemCount ? answers_[id] : 0;
}

} // namespace varenta::administration
