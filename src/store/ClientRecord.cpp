#include "store/ClientRecord.h"

#include "store/Cp1252.h"

namespace varenta {

namespace {

struct FieldSpec {
    QString ClientRecord::*member;
    int width;
};

const FieldSpec kLayout[] = {
    {&ClientRecord::ClientName, 25},     {&ClientRecord::ClientID, 10},
    {&ClientRecord::DateOfBirth, 10},    {&ClientRecord::Age, 2},
    {&ClientRecord::GenderCode, 1},      {&ClientRecord::RaceCode, 1},
    {&ClientRecord::EducationCode, 1},   {&ClientRecord::TestDate, 10},
    {&ClientRecord::Age1stArrest, 2},    {&ClientRecord::Probations, 2},
    {&ClientRecord::ProbRevocations, 2}, {&ClientRecord::TimesArrested, 2},
    {&ClientRecord::JDetentions, 2},     {&ClientRecord::JCHearings, 2},
    {&ClientRecord::AlcoholArrests, 2},  {&ClientRecord::DrugArrests, 2},
    {&ClientRecord::Responses, 116},     {&ClientRecord::EditCount, 1},
    {&ClientRecord::NameDeleted, 1},     {&ClientRecord::Reserved, 1},
};

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
