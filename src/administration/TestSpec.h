#pragma once

#include "app/Globals.h"

#include <QString>

// The test's fixed layout: 116 items in three sections, one-digit answer codes, the answer
// families a question-table row can have, the lowest-risk answer set and the instructions.
namespace varenta::administration {

inline constexpr int SectionCount = int(TestSectionEnds.size()) - 1;
inline constexpr int ItemCount = TestSectionEnds[SectionCount];

// Refills Globals().SectionEnd with TestSectionEnds.
void SetSectionEnds();

// True when low <= value <= high.
bool InRange(int value, int low, int high);

// The section (1..3) that holds item 1..116; 0 for any other number.
int SectionOfItem(int item);

// Position of the item within its section (1 for the section's first item); 0 when the item
// is outside the test.
int PositionInSection(int item);

// Highest answer code of a section's items (2, 4, 4); 0 for a section outside the test.
int HighestAnswerCode(int section);

// The answers of a client who gives the lowest-risk answer to every item (116 codes).
QString NonDeviantResponses();

// Answer families, told apart by the start of an item's second answer text.
namespace family {
inline constexpr int TrueFalse = 0;
inline constexpr int YesNo = 1;
inline constexpr int Numbered = 2;
inline constexpr int Frequency = 3;
inline constexpr int Agreement5 = 4;
inline constexpr int Frequency5 = 5;
} // namespace family

// Family code 0..5 of an item whose second answer text (ANSWER2) is `answer2`.
int AnswerFamilyOf(const QString& answer2);

// How many answers an item of the family offers (2, 4 or 5).
int AnswerCountOf(int familyCode);

// The help line shown while an answer of that family is being keyed.
QString AnswerHelpLine(int familyCode);

// InstructionText(0) is the general instruction, 1..3 those of sections 1..3. Empty until
// SetInstructionTexts chooses a language. Lines are separated by CR LF.
const QString& InstructionText(int index);

// Chooses the texts by language name ("English" or "Spanish", blanks and case ignored); an
// unknown name leaves the current texts.
void SetInstructionTexts(const QString& language);

// Back to empty texts (a fresh program state).
void ClearInstructionTexts();

} // namespace varenta::administration
