#pragma once

#include "intake/ClientInfo.h"

#include <QChar>
#include <QString>

#include <array>

// The rules of the court history window, without the window: the answer checks, the rule of
// the third character, and the store of the eight answers.
namespace varenta::intake {

inline constexpr int CourtQuestionCount = 8;
inline constexpr int CourtAnswerLength = 2;

using CourtAnswers = std::array<QString, CourtQuestionCount>; // question 1 at index 0

QString CourtCaption(int question); // 1..8
QString CourtPrompt(int question);
QString CourtError(int question);      // the message of a failed answer
QString CourtErrorTitle(int question); // question 1 carries the application title

// The general rule: "N" or "n" alone, exactly "0", or a leading value above 0 and at most 99,
// blanks around the text disregarded.
bool CheckCourtValue(const QString& text);

// The Enter check of a question. Question 1 takes an age (above 5, below 100; emptied on
// failure); questions 2 to 8 the general rule (the trimmed text kept on failure). A lone "n"
// becomes "N".
CheckResult CheckCourtAnswer(int question, const QString& text);

// Whether a typed character is taken in questions 2 to 8: with two characters already there
// and not both selected, anything but Enter, Tab and Backspace is refused.
bool CourtKeyAllowed(const QString& fieldText, int selectedLength, QChar c);

// The first answer, in question order, that fails the general rule; -1 when all pass.
int FirstInvalidCourtAnswer(const CourtAnswers& answers);

// The current client's eight stored answers, exactly as stored.
CourtAnswers GetCourtData();

// Stores the answers into the current client's slot and, in edit mode, writes the record
// (SaveClientWithRetry). False when the write failed; the slot in memory is then as before.
bool SaveCourtData(const CourtAnswers& answers, bool editMode);

// Abandons the client being added: its slot blanked in memory, and the first client (or none,
// on an empty disk) made current again.
void DiscardNewClient();

} // namespace varenta::intake
