#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// The rules of the client information window, without the window: field checks, choice keys,
// the edit count and its limit, and the copy between the window's values and the record.
namespace varenta::intake {

// The seven fields in screen and tab order.
enum class InfoField { Name, ID, Age, DateOfBirth, Gender, Race, Education };
inline constexpr int InfoFieldCount = 7;

// Entry limits of the text fields.
inline constexpr int NameLength = 25;
// The record keeps 10 characters of the ID; the entry stops there, so that no typed character
// is dropped unseen when the record is stored.
inline constexpr int IdLength = 10;
inline constexpr int AgeLength = 2;
inline constexpr int DateLength = 10;

// The edit limit: after this many counted changes the fields are locked for good.
inline constexpr int EditLimit = 3;

bool IsChoiceField(InfoField f);
QString FieldPrompt(InfoField f);
QString FieldError(InfoField f);
// Caption label text and the index of that label in the caption array.
QString FieldCaption(InfoField f);
int CaptionIndex(InfoField f);
// Entries of a choice list, position = stored code.
QStringList ChoiceEntries(InfoField f);

// The leading numeric value of a text as a number reader sees it: blanks skipped, an optional
// sign, digits and an optional fraction; 0 when the text does not start with a number.
double LeadingValue(const QString& text);

// The date-of-birth test: "MM/DD/YYYY" (or with "-"), exactly 10 characters, a real
// calendar date, year 1900 or later.
bool GoodDate(const QString& szDate);

// The Enter check of a text field. `text` is the field's new text: trimmed, "n" made "N", or
// emptied after a failure, as each field's rule says.
struct CheckResult {
    bool ok = false;
    QString text;
};
CheckResult CheckTextField(InfoField f, const QString& text);

// What a typed character does in a choice field: select the entry with code `code`, or be
// refused (the field is emptied with a beep).
struct ChoiceKey {
    bool accepted = false;
    int code = -1;
};
ChoiceKey ChoiceKeyFor(InfoField f, QChar c);

// Whether a character can be typed into a text field: the store writes the Windows code page,
// so what cannot be stored is refused at entry and what is shown is what is kept.
bool CanTypeInField(QChar c);

// The window's values: texts of the four text fields, selected positions (-1 for none) of the
// three lists.
struct ClientInfoValues {
    QString name, id, age, dateOfBirth;
    int gender = -1, race = -1, education = -1;

    QString ValueOf(InfoField f) const; // a list's value is its position as decimal text
    bool IsEmpty(InfoField f) const;
};

// The window's state between opening and closing.
class ClientInfoForm {
public:
    // Opening: the first seven baseline values emptied; in edit mode the current record is
    // shown (RecordToScreen); otherwise the edit count and the name-deleted mark start at 0.
    void Open(bool editMode);

    // Fills the values from the current client's record.
    void RecordToScreen();
    // Copies the values into the current client's slot (memory only).
    void RecordToDB() const;

    // Result of counting a change of the field that lost the focus (edit mode only).
    enum class EditCount { Unchanged, Counted, LimitReached };
    EditCount CountFieldEdit(InfoField f, bool fieldEnabled);

    // Whether the fields are to be shown locked (name deleted, or the limit reached).
    bool Locked() const { return locked_; }
    void Lock() { locked_ = true; }

    // "Information OK" once every field has passed: the slot, ContinueFlag, the edit-limit test
    // and the store into memory. Returns the slot the caller must write to the data file (edit
    // mode, not skipped), 0 when nothing is to be written, -1 when a new client cannot be added
    // because the data disk is full.
    int StoreForOk(bool scanEditMode);

    // StoreForOk, then in edit mode the write (SaveClientWithRetry). When the write fails the
    // slot in memory and ContinueFlag are put back as they were, so the window can stay open
    // with what was typed and nothing unwritten looks stored.
    enum class OkOutcome { Stored, Written, WriteFailed, DiskFull };
    OkOutcome InformationOk(bool scanEditMode);

    ClientInfoValues values;
    int EditsMade = 0;
    // name, ID, age, gender, race, education, edit count, date of birth: as stored.
    std::array<QString, 8> BaselineValues;

private:
    static int BaselineIndex(InfoField f);
    bool editMode_ = false;
    bool locked_ = false;
};

// The first field in completeness order (name, ID, age, gender, race, education, date of
// birth) that is empty or, when the fields can be edited, fails its Enter check; -1 if none.
int FirstFailingField(const ClientInfoValues& v, bool fieldsEditable);

// The hidden developer commands act only on a stored client being edited: in a new client's
// window the current slot is another client's, which they must not overwrite.
bool DeveloperCommandsApply();

// The hidden developer commands of the intake windows. They exercise scoring and the test's
// answers, which intake does not reach: the program's wiring fills them.
struct DeveloperCommandHooks {
    // "Check": `storeFields` copies the window into the current slot; the record is then
    // written, scored and its scores shown.
    std::function<void(const std::function<void()>& storeFields)> check;
    // "Non-Deviant": the lowest-risk answers stored as the current client's and written.
    std::function<void()> nonDeviant;
};
DeveloperCommandHooks& DeveloperCommands();

// A window's "Check" and "Non-Deviant": the hooks, for a stored client being edited only.
void Check(const std::function<void()>& storeFields);
void NonDeviant();

} // namespace varenta::intake
