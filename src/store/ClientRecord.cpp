#include "store/ClientRecord.h"

#include "store/Cp1252.h"

namespace varenta {

namespace {

struct FieldSpec {
    QString ClientRecord::*member;
    int width;
};

constexpr FieldSpec kLayout[] = {
    {&ClientRecord::ClientName, width::ClientName},   {&ClientRecord::ClientID, width::ClientID},
    {&ClientRecord::DateOfBirth, width::DateOfBirth}, {&ClientRecord::Age, width::Age},
    {&ClientRecord::GenderCode, width::Code},         {&ClientRecord::RaceCode, width::Code},
    {&ClientRecord::EducationCode, width::Code},      {&ClientRecord::TestDate, width::TestDate},
    {&ClientRecord::Age1stArrest, width::Court},      {&ClientRecord::Probations, width::Court},
    {&ClientRecord::ProbRevocations, width::Court},   {&ClientRecord::TimesArrested, width::Court},
    {&ClientRecord::JDetentions, width::Court},       {&ClientRecord::JCHearings, width::Court},
    {&ClientRecord::AlcoholArrests, width::Court},    {&ClientRecord::DrugArrests, width::Court},
    {&ClientRecord::Responses, width::Responses},     {&ClientRecord::EditCount, width::Flag},
    {&ClientRecord::NameDeleted, width::Flag},        {&ClientRecord::Reserved, width::Flag},
};

constexpr int LayoutWidth() {
    int total = 0;
    for (const FieldSpec& f : kLayout)
        total += f.width;
    return total;
}
static_assert(LayoutWidth() == RecordLength, "the fields must fill the record exactly");

} // namespace

QString Fit(const QString& text, int width) {
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), QLatin1Char(' '));
}

ClientRecord::ClientRecord() {
    for (const FieldSpec& f : kLayout)
        this->*f.member = QString(f.width, QLatin1Char(' '));
}

QString* ClientRecord::CourtField(int question) {
    QString* fields[] = {&Age1stArrest, &Probations, &ProbRevocations, &TimesArrested,
                         &JDetentions,  &JCHearings, &AlcoholArrests,  &DrugArrests};
    return question >= 1 && question <= CourtFieldCount ? fields[question - 1] : nullptr;
}

const QString* ClientRecord::CourtField(int question) const {
    return const_cast<ClientRecord*>(this)->CourtField(question);
}

QByteArray ClientRecord::ToBytes() const {
    QString all;
    all.reserve(RecordLength);
    for (const FieldSpec& f : kLayout)
        all += Fit(this->*f.member, f.width);
    return cp1252::Encode(all);
}

ClientRecord ClientRecord::FromBytes(const QByteArray& bytes) {
    QByteArray padded = bytes.left(RecordLength);
    if (padded.size() < RecordLength)
        padded.append(QByteArray(RecordLength - padded.size(), ' '));
    const QString all = cp1252::Decode(padded);
    ClientRecord r;
    int at = 0;
    for (const FieldSpec& f : kLayout) {
        r.*f.member = all.mid(at, f.width);
        at += f.width;
    }
    return r;
}

} // namespace varenta
