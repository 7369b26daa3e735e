#pragma once

#include <QByteArray>
#include <QString>

namespace varenta {

inline constexpr int RecordLength = 195;
inline constexpr int ResponseCount = 116;
inline constexpr int CourtFieldCount = 8; // the court-history numbers

// The court-history numbers in question order, as CourtField numbers them.
namespace court {
inline constexpr int FirstArrestAge = 1;
inline constexpr int Probations = 2;
inline constexpr int AlcoholArrests = 7;
inline constexpr int DrugArrests = 8;
} // namespace court

// One client: 20 fixed-width text fields, left-aligned and blank-padded, as stored in one
// 195-byte record of the client data file. Members always hold exactly their field's width
// once set through Fit() or read from the file.
struct ClientRecord {
    QString ClientName;      // 25
    QString ClientID;        // 10
    QString DateOfBirth;     // 10
    QString Age;             // 2
    QString GenderCode;      // 1
    QString RaceCode;        // 1
    QString EducationCode;   // 1
    QString TestDate;        // 10
    QString Age1stArrest;    // 2
    QString Probations;      // 2
    QString ProbRevocations; // 2
    QString TimesArrested;   // 2
    QString JDetentions;     // 2
    QString JCHearings;      // 2
    QString AlcoholArrests;  // 2
    QString DrugArrests;     // 2
    QString Responses;       // 116
    QString EditCount;       // 1
    QString NameDeleted;     // 1
    QString Reserved;        // 1

    ClientRecord(); // every field blank

    // The eight court-history fields in question order.
    QString* CourtField(int question); // 1..CourtFieldCount
    const QString* CourtField(int question) const;

    QByteArray ToBytes() const; // exactly RecordLength bytes in the Windows code page
    static ClientRecord FromBytes(const QByteArray& bytes); // short input is blank-padded

    bool operator==(const ClientRecord&) const = default;
};

namespace width {
inline constexpr int ClientName = 25;
inline constexpr int ClientID = 10;
inline constexpr int DateOfBirth = 10;
inline constexpr int Age = 2;
inline constexpr int Code = 1;
inline constexpr int TestDate = 10;
inline constexpr int Court = 2;
inline constexpr int Responses = ResponseCount;
inline constexpr int Flag = 1; // edit count, name deleted, reserved
} // namespace width

// The text left-aligned in `width` characters: cut when longer, blank-padded when shorter.
QString Fit(const QString& text, int width);

} // namespace varenta
