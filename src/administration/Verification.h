#pragma once

#include <QList>
#include <QString>

// Re-keying of a paper answer sheet: the operator keys all 116 answers again; the items that
// differ from the stored answers are keyed a third time, and that keying decides. Plain state,
// driven by the verification window one key at a time.
namespace varenta::administration {

class Verification {
public:
    enum class Key { Refused, Accepted, PassEnded };
    enum class Outcome {
        NoCorrections,     // every item keyed as stored: the record stays as it is
        CorrectionsNeeded, // the correction pass has begun with the differing items
        Corrected,         // the correction pass is done: NewResponses() is the result
    };

    // `stored` is the client's response field as stored (116 characters when intact).
    explicit Verification(const QString& stored);

    bool Correcting() const { return correcting_; }
    int Position() const { return position_; } // from 1
    int ListLength() const { return int(list_.size()); }
    const QList<int>& QuestionList() const { return list_; }
    int CurrentItem() const { return list_.value(position_ - 1); }
    // The item keyed just before the current one in this pass; 0 at the start of a pass.
    int PreviousItem() const { return position_ >= 2 ? list_.value(position_ - 2) : 0; }
    // The code keyed so far for an item ("0" when it has not been keyed).
    QChar Entered(int item) const { return entered_.at(item - 1); }

    // Whether `code` is an answer item `item` can take: 0..2 in the first section, 0..4 after.
    static bool IsKeyable(int item, QChar code);

    // A typed digit for the current item. Refused: not a digit or not a code of this item;
    // nothing changes. PassEnded: the last entry of the pass was keyed; call FinishPass.
    Key KeyCode(QChar code);
    // Moves back to the previous entry of the pass; false (nothing changes) at its first.
    bool Back();

    // Ends a pass. After the first pass: NoCorrections, or CorrectionsNeeded with the list set
    // to the differing items in increasing order. After the correction pass: Corrected.
    Outcome FinishPass();

    // The answers to store after a correction pass: alike in both keyings, or as keyed last.
    QString NewResponses() const { return entered_; }
    // How many items of NewResponses differ from the stored answers.
    int ChangedAnswers() const;

private:
    QString stored_;
    QString entered_;
    QList<int> list_;
    int position_ = 1;
    bool correcting_ = false;
};

} // namespace varenta::administration
