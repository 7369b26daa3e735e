#include "administration/Verification.h"

#include "administration/TestSpec.h"

namespace varenta::administration {

Verification::Verification(const QString& stored)
    : stored_(stored), entered_(ItemCount, QLatin1Char('0')) {
    // Compared place by place as stored: trimming a leading blank would shift every item.
    for (int i = 1; i <= ItemCount; ++i)
        list_.append(i);
}

bool Verification::IsKeyable(int item, QChar code) {
    if (code < QLatin1Char('0') || code > QLatin1Char('9'))
        return false;
    return InRange(code.digitValue(), 0, HighestAnswerCode(SectionOfItem(item)));
}

Verification::Key Verification::KeyCode(QChar code) {
    if (position_ > ListLength())
        return Key::Refused;
    const int item = CurrentItem();
    if (!IsKeyable(item, code))
        return Key::Refused;
    entered_[item - 1] = code;
    ++position_;
    return position_ > ListLength() ? Key::PassEnded : Key::Accepted;
}

bool Verification::Back() {
    if (position_ < 2)
        return false;
    --position_;
    return true;
}

int Verification::ChangedAnswers() const {
    int changed = 0;
    for (qsizetype i = 0; i < entered_.size(); ++i)
        if (i >= stored_.size() || stored_[i] != entered_[i])
            ++changed;
    return changed;
}

Verification::Outcome Verification::FinishPass() {
    if (correcting_)
        return Outcome::Corrected;
    QList<int> differing;
    for (int n = 1; n <= ItemCount; ++n) {
        if (n > stored_.size() || stored_.at(n - 1) != entered_.at(n - 1))
            differing.append(n);
    }
    if (differing.isEmpty())
        return Outcome::NoCorrections;
    list_ = differing;
    position_ = 1;
    correcting_ = true;
    return Outcome::CorrectionsNeeded;
}

} // namespace varenta::administration
