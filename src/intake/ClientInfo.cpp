#include "intake/ClientInfo.h"

#include "app/Globals.h"
#include "store/AuditTrail.h"
#include "store/ClientRecord.h"
#include "store/Cp1252.h"
#include "store/SaveWithRetry.h"

#include <QDate>

namespace varenta::intake {

namespace {

DeveloperCommandHooks g_developerCommands;
const StateReset resetHooks([] { g_developerCommands = {}; });

// A stored code digit as a list position; -1 for anything else.
int PositionOf(const QString& code, int entries) {
    bool ok = false;
    const int n = code.trimmed().toInt(&ok);
    return ok && n >= 0 && n < entries ? n : -1;
}

QString CodeText(int position) {
    return position >= 0 ? QString::number(position) : QString();
}

} // namespace

bool IsChoiceField(InfoField f) {
    return f == InfoField::Gender || f == InfoField::Race || f == InfoField::Education;
}

QString FieldPrompt(InfoField f) {
    switch (f) {
    case InfoField::Name:
        return QStringLiteral("Type client's name (up to 25 characters) or N for not available, "
                              "then press Enter.");
    case InfoField::ID:
        return QStringLiteral("Type client's ID number (up to 11 characters) or N for not "
                              "available, then press Enter.");
    case InfoField::Age:
        return QStringLiteral("Type age in years or N for not available, then press Enter.");
    case InfoField::DateOfBirth:
        return QStringLiteral(
            "Type client's DOB (MM/DD/YYYY) or N for not available, then press Enter.");
    case InfoField::Gender:
        return QStringLiteral("Use up or down arrow keys to select gender or N/A for not "
                              "available, then press Enter.");
    case InfoField::Race:
        return QStringLiteral("Use up or down arrow keys to select ethnicity/race or N/A for not "
                              "available, then press Enter.");
    case InfoField::Education:
        return QStringLiteral("Use up or down arrow keys to select education level or N/A for "
                              "not available, then press Enter.");
    }
    return QString();
}

QString FieldError(InfoField f) {
    switch (f) {
    case InfoField::Name:
        return QStringLiteral("Enter client's name. Press Enter to continue.");
    case InfoField::ID:
        return QStringLiteral(
            "Enter client's ID number or N for Not Available. Press Enter to continue.");
    case InfoField::Age:
        return QStringLiteral("Enter age of client in number of years. Press Enter to continue.");
    case InfoField::DateOfBirth:
        return FieldPrompt(f);
    case InfoField::Gender:
        return QStringLiteral("Press down arrow to select gender or N for not available. Press "
                              "Enter to continue.");
    case InfoField::Race:
        return QStringLiteral("Press down arrow to select ethnicity. Press Enter to continue.");
    case InfoField::Education:
        return QStringLiteral(
            "Press down arrow to select education level. Press Enter to continue.");
    }
    return QString();
}

QString FieldCaption(InfoField f) {
    static const char* captions[] = {
        "Client Name:", "ID #:",           "Age:",      "Date of Birth:",
        "Gender:",      "Ethnicity/Race:", "Education:"};
    return QString::fromLatin1(captions[int(f)]);
}

int CaptionIndex(InfoField f) {
    static const int index[] = {0, 1, 2, 6, 3, 4, 5};
    return index[int(f)];
}

QStringList ChoiceEntries(InfoField f) {
    switch (f) {
    case InfoField::Gender:
        return {QStringLiteral("N/A"), QStringLiteral("Male"), QStringLiteral("Female")};
    case InfoField::Race:
        return {QStringLiteral("N/A"),   QStringLiteral("Caucasian"),
                QStringLiteral("Black"), QStringLiteral("Hispanic"),
                QStringLiteral("Asian"), QStringLiteral("Native American"),
                QStringLiteral("Other")};
    case InfoField::Education:
        return {QStringLiteral("N/A"),
                QStringLiteral("6th grade or less"),
                QStringLiteral("7th grade"),
                QStringLiteral("8th grade"),
                QStringLiteral("9th grade"),
                QStringLiteral("10th grade"),
                QStringLiteral("11th grade"),
                QStringLiteral("High School Graduate"),
                QStringLiteral("Partial College")};
    default:
        return {};
    }
}

double LeadingValue(const QString& text) {
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    const int digitsFrom = i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
    }
    const QString number = text.mid(start, i - start);
    if (i == digitsFrom || number == QLatin1String(".") || number.endsWith(QLatin1String("-.")) ||
        number.endsWith(QLatin1String("+.")))
        return 0;
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok ? v : 0;
}

bool GoodDate(const QString& szDate) {
    if (szDate.size() != 10)
        return false;
    auto separator = [&](int i) {
        return szDate[i] == QLatin1Char('/') || szDate[i] == QLatin1Char('-');
    };
    if (!separator(2) || !separator(5))
        return false;
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (szDate[i] < QLatin1Char('0') || szDate[i] > QLatin1Char('9'))
            return false;
    const int month = szDate.mid(0, 2).toInt();
    const int day = szDate.mid(3, 2).toInt();
    const int year = szDate.mid(6, 4).toInt();
    return year >= 1900 && QDate::isValid(year, month, day);
}

CheckResult CheckTextField(InfoField f, const QString& text) {
    switch (f) {
    case InfoField::Name:
        return {!text.isEmpty(), text};
    case InfoField::ID: {
        QString t = text.trimmed();
        if (t == QLatin1String("n"))
            t = QStringLiteral("N");
        if (t.isEmpty())
            return {false, QString()};
        return {true, t};
    }
    case InfoField::Age: {
        const QString t = text.trimmed();
        if (t.compare(QLatin1String("n"), Qt::CaseInsensitive) == 0)
            return {true, QStringLiteral("N")};
        const double v = LeadingValue(t);
        if (v > 5 && v < 100)
            return {true, t};
        return {false, QString()};
    }
    case InfoField::DateOfBirth: {
        QString t = text;
        while (t.endsWith(QLatin1Char(' ')))
            t.chop(1);
        const bool ok = t.compare(QLatin1String("n"), Qt::CaseInsensitive) == 0 || GoodDate(t);
        return {ok, text};
    }
    default:
        return {true, text};
    }
}

ChoiceKey ChoiceKeyFor(InfoField f, QChar c) {
    if (c == QLatin1Char('N') || c == QLatin1Char('n'))
        return {true, 0};
    const int highest = int(ChoiceEntries(f).size()) - 1;
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9') && c.digitValue() <= highest)
        return {true, c.digitValue()};
    return {};
}

bool CanTypeInField(QChar c) {
    // Control characters (DEL and the code page's undefined codes among them) never belong in
    // a field, though the code page could store them.
    return c.category() != QChar::Other_Control && cp1252::CanEncode(c);
}

QString ClientInfoValues::ValueOf(InfoField f) const {
    switch (f) {
    case InfoField::Name:
        return name;
    case InfoField::ID:
        return id;
    case InfoField::Age:
        return age;
    case InfoField::DateOfBirth:
        return dateOfBirth;
    case InfoField::Gender:
        return CodeText(gender);
    case InfoField::Race:
        return CodeText(race);
    case InfoField::Education:
        return CodeText(education);
    }
    return QString();
}

bool ClientInfoValues::IsEmpty(InfoField f) const {
    return ValueOf(f).isEmpty();
}

int ClientInfoForm::BaselineIndex(InfoField f) {
    static const int index[] = {0, 1, 2, 7, 3, 4, 5};
    return index[int(f)];
}

void ClientInfoForm::Open(bool editMode) {
    editMode_ = editMode;
    locked_ = false;
    for (int i = 0; i < 7; ++i)
        BaselineValues[size_t(i)].clear();
    values = ClientInfoValues();
    if (editMode) {
        RecordToScreen();
    } else {
        EditsMade = 0;
        Globals().NameDeleted = false;
    }
}

void ClientInfoForm::RecordToScreen() {
    const ClientRecord& r = CurrentRecord();
    values.name = r.ClientName;
    values.id = r.ClientID;
    values.age = r.Age;
    values.dateOfBirth = r.DateOfBirth;
    values.gender = PositionOf(r.GenderCode, int(ChoiceEntries(InfoField::Gender).size()));
    values.race = PositionOf(r.RaceCode, int(ChoiceEntries(InfoField::Race).size()));
    values.education = PositionOf(r.EducationCode, int(ChoiceEntries(InfoField::Education).size()));
    Globals().NameDeleted = r.NameDeleted.trimmed() == QLatin1String("1");
    EditsMade = int(LeadingValue(r.EditCount));
    if (Globals().NameDeleted || EditsMade >= EditLimit)
        locked_ = true;
    BaselineValues = {r.ClientName, r.ClientID,      r.Age,       r.GenderCode,
                      r.RaceCode,   r.EducationCode, r.EditCount, r.DateOfBirth};
}

void ClientInfoForm::RecordToDB() const {
    ClientRecord& r = CurrentRecord();
    r.ClientName = Fit(values.name, width::ClientName);
    r.ClientID = Fit(values.id, width::ClientID);
    r.Age = Fit(values.age, width::Age);
    r.DateOfBirth = Fit(values.dateOfBirth, width::DateOfBirth);
    r.GenderCode = Fit(CodeText(values.gender), width::Code);
    r.RaceCode = Fit(CodeText(values.race), width::Code);
    r.EducationCode = Fit(CodeText(values.education), width::Code);
    r.NameDeleted = Globals().NameDeleted ? QStringLiteral("1") : QStringLiteral("0");
    r.EditCount = QString::number(qBound(0, EditsMade, 9));
}

ClientInfoForm::EditCount ClientInfoForm::CountFieldEdit(InfoField f, bool fieldEnabled) {
    if (!editMode_)
        return EditCount::Unchanged;
    const QString current = values.ValueOf(f);
    QString& baseline = BaselineValues[size_t(BaselineIndex(f))];
    if (current == baseline)
        return EditCount::Unchanged;
    ++EditsMade;
    if (EditsMade >= EditLimit && fieldEnabled) {
        EditsMade = EditLimit;
        locked_ = true;
        return EditCount::LimitReached;
    }
    baseline = current;
    return EditCount::Counted;
}

int ClientInfoForm::StoreForOk(bool scanEditMode) {
    GlobalState& g = Globals();
    if (!editMode_) {
        if (g.ClientCount >= MaxClients)
            return -1;
        g.CurrentClient = qint16(g.ClientCount + 1);
    }
    g.ContinueFlag = true;
    const bool limitTest = g.ClientCount != 0 && !scanEditMode;
    if (limitTest && LeadingValue(BaselineValues[6]) >= EditLimit)
        return 0;
    if (!editMode_) {
        ClientRecord& r = CurrentRecord();
        r.Responses = QString(width::Responses, QLatin1Char('0'));
        r.NameDeleted = QStringLiteral("0");
        r.TestDate = QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
    }
    RecordToDB();
    return editMode_ ? g.CurrentClient : 0;
}

ClientInfoForm::OkOutcome ClientInfoForm::InformationOk(bool scanEditMode) {
    GlobalState& g = Globals();
    const bool continueBefore = g.ContinueFlag;
    const ClientRecord before = CurrentRecord();
    const int slot = StoreForOk(scanEditMode);
    if (slot < 0)
        return OkOutcome::DiskFull;
    if (slot == 0)
        return OkOutcome::Stored;
    if (SaveClientWithRetry(slot)) {
        audit::Record(audit::Event::Edited, slot);
        return OkOutcome::Written;
    }
    g.Clients[size_t(slot)] = before;
    g.ContinueFlag = continueBefore;
    return OkOutcome::WriteFailed;
}

int FirstFailingField(const ClientInfoValues& v, bool fieldsEditable) {
    static const InfoField order[] = {InfoField::Name,       InfoField::ID,   InfoField::Age,
                                      InfoField::Gender,     InfoField::Race, InfoField::Education,
                                      InfoField::DateOfBirth};
    for (InfoField f : order) {
        if (v.IsEmpty(f))
            return int(f);
        // An age typed and left with Tab has not been checked yet: check it before storing.
        if (fieldsEditable && !IsChoiceField(f) && !CheckTextField(f, v.ValueOf(f)).ok)
            return int(f);
    }
    return -1;
}

bool DeveloperCommandsApply() {
    const GlobalState& g = Globals();
    return g.EditMode && g.CurrentClient >= 1 && g.CurrentClient <= g.ClientCount;
}

DeveloperCommandHooks& DeveloperCommands() {
    return g_developerCommands;
}

void Check(const std::function<void()>& storeFields) {
    if (DeveloperCommandsApply())
        DeveloperCommands().check(storeFields);
}

void NonDeviant() {
    if (DeveloperCommandsApply())
        DeveloperCommands().nonDeviant();
}

} // namespace varenta::intake
