#pragma once

#include "administration/Audio.h"

#include <QString>

#include <array>
#include <functional>
#include <vector>

// The on-screen test without its window: instruction screens, one item at a time, the notes at
// the end of each section, F10 back one item, abandoning, and storing the answers once all 116
// are given. The window maps keys and focus to the calls below and shows what the queries say;
// tests drive the same calls with hand-made items.
namespace varenta::administration {

// One row of a question table, as the presentation uses it.
struct PresentedItem {
    int id = 0;
    QString statement;     // TestQuestion
    QString questionAudio; // base name of the statement's wave
    // ANSWER1..5 and ChoiceAudio1..5; an empty answer 3..5 means the item has no such answer.
    std::array<QString, 5> answers;
    std::array<QString, 5> choiceAudio;
};

// Where the items come from: the question table of a language, all rows in stored order.
class ItemSource {
public:
    virtual ~ItemSource() = default;
    // Throws VError with a message a supervisor can act on when the items cannot be had.
    virtual std::vector<PresentedItem> Items(const QString& language) = 0;
};

// Checks that a question table holds the whole test: items 1..116 in order, each with a
// statement and at least two answers. Throws VError (3051) naming the first fault.
void CheckPresentedItems(const std::vector<PresentedItem>& items, const QString& language);

// Where the window should put the focus after a call.
enum class FocusRequest { None, Instructions, Statement, FirstAnswer };

class Presentation {
public:
    enum class State {
        Running,
        Completed,  // all answers stored and the client counted
        Abandoned,  // the new client discarded
        SaveFailed, // all answers given, but the data disk would not take them (yet)
    };

    // Writes the record of a slot to the data disk; false when the disk would not take it and
    // the supervisor gave up for now.
    using Saver = std::function<bool(int slot)>;

    // `items` must have passed CheckPresentedItems. `audio` outlives the presentation.
    Presentation(std::vector<PresentedItem> items, const QString& language, WaveAudio& audio);
    // Replaces the data-disk writer (the default writes once and tells nobody of a failure).
    void SetSaver(Saver saver) { saver_ = std::move(saver); }
    // Called before a message box is shown, so the window can show what lies behind it.
    void SetViewHook(std::function<void()> hook) { viewHook_ = std::move(hook); }

    // The window was loaded: item 1 is prepared behind the instruction screen.
    void Load();
    // The window became active for the first time: sound prepared, general instructions shown
    // and read aloud.
    void Activate();

    // Enter or Tab on an instruction screen.
    void ContinueFromInstructions();
    // Focus arrived on the instructions, the statement or answer i (0..4). StatementFocused
    // returns false when the instructions are showing, so the focus must go back to them.
    void InstructionsFocused();
    bool StatementFocused();
    void AnswerFocused(int i);
    // The client chose answer i of the item on screen.
    void SelectAnswer(int i);
    // F10: back to the item before. Beeps on the first item.
    void GoBack();
    // Shift+Alt+F10: the new client is discarded; nothing is stored.
    void Abandon();
    // All answers given but not stored: try the data disk again.
    void RetrySave();
    // The window closes: sound off.
    void Close();

    // What the window shows.
    State state() const { return state_; }
    bool finished() const { return state_ == State::Completed || state_ == State::Abandoned; }
    bool InstructionsVisible() const { return instructionsVisible_; }
    bool QuestionsVisible() const { return questionsVisible_; }
    const QString& InstructionBoxText() const { return instructionBox_; }
    QString StatementText() const;
    QString AnswerText(int i) const;
    bool AnswerVisible(int i) const;
    int VisibleAnswerCount() const;
    const QString& HelpLine() const { return helpLine_; }
    bool Spanish() const { return spanish_; }
    QString Caption() const;
    // Takes the focus request left by the last call.
    FocusRequest TakeFocusRequest();

    // The test's progress.
    int CurrentItemId() const;
    bool ShowingGeneral() const { return showingGeneral_; }
    int Answer(int id) const; // 0 when not given yet
    // The 116-digit response string of the answers given so far.
    QString ResponseString() const;
    const QString& language() const { return language_; }

    // Texts the window and tests share.
    QString InstructionsHelpLine() const;
    QString ItemHelpLine() const;
    QString AnswerHelpLine() const;
    QString SaveFailedText() const;
    QString SaveFailedHelpLine() const;

private:
    void TestInstructions(int section);
    void GetNextQuestion();
    void FillItem();
    void ShowSectionNote();
    void ShowClosingMessage();
    void StoreResponses();
    const PresentedItem* CurrentRow() const;
    void ViewChanged() {
        if (viewHook_)
            viewHook_();
    }

    std::vector<PresentedItem> items_;
    QString language_;
    bool spanish_ = false;
    WaveAudio& audio_;
    Saver saver_;
    std::function<void()> viewHook_;

    State state_ = State::Running;
    bool activated_ = false;
    bool showingGeneral_ = false;
    bool goingBack_ = false;
    bool firstItem_ = true;
    int questionNumber_ = 0;
    int row_ = -1; // the question cursor: index of the row on screen
    std::array<int, 117> answers_{};

    bool instructionsVisible_ = false;
    bool questionsVisible_ = false;
    QString instructionBox_;
    QString helpLine_;
    QString questionWave_;
    std::array<QString, 5> answerWaves_;
    FocusRequest focus_ = FocusRequest::None;
};

} // namespace varenta::administration
