#include "administration/DemoClients.h"

#include "administration/TestSpec.h"
#include "app/Globals.h"
#include "store/AuditTrail.h"
#include "store/ClientStore.h"

#include <QDate>

#include <iterator>
#include <random>

namespace varenta::administration {

namespace {

struct Demo {
    const char* name;
    const char* id;
    const char* dob;
    const char* age;
    char gender, race, education;
    const char* court[CourtFieldCount];
    int lean; // how far the answers lean from the lowest-risk ones, 0..100
};

// Invented people; any likeness is accidental.
const Demo kDemo[] = {
    {"Jordan Ellery",
     "J-20417",
     "03/14/2010",
     "16",
     '1',
     '1',
     '5',
     {"14", "1 ", "0 ", "2 ", "1 ", "2 ", "0 ", "1 "},
     25},
    {"Marisol Quintero",
     "J-20433",
     "11/02/2009",
     "17",
     '2',
     '3',
     '6',
     {"N ", "0 ", "0 ", "1 ", "0 ", "1 ", "1 ", "0 "},
     15},
    {"Dante Whitlock",
     "J-20450",
     "07/29/2011",
     "15",
     '1',
     '2',
     '4',
     {"12", "2 ", "1 ", "4 ", "3 ", "5 ", "2 ", "3 "},
     55},
    {"Keira Lindqvist",
     "N",
     "N",
     "14",
     '2',
     '1',
     '3',
     {"13", "1 ", "0 ", "1 ", "1 ", "1 ", "0 ", "0 "},
     35},
    {"Tomás Ibáñez",
     "J-20489",
     "01/08/2010",
     "16",
     '1',
     '3',
     '5',
     {"15", "0 ", "0 ", "1 ", "0 ", "1 ", "0 ", "2 "},
     45},
    {"Avery Okonkwo",
     "J-20502",
     "05/21/2012",
     "14",
     '0',
     '6',
     '3',
     {"N ", "N ", "N ", "N ", "N ", "N ", "N ", "N "},
     5},
};

} // namespace

int AddDemoClients(int count) {
    GlobalState& g = Globals();
    // Each client starts from the lowest-risk answers and gives another answer to a share of
    // the items (its lean), drawn from a fixed seed so every demo disk is the same.
    const QString lowRisk = NonDeviantResponses();
    std::mt19937 rng(401);
    int written = 0;
    static_assert(std::size(kDemo) == DemoClientCount);
    const int available = DemoClientCount;
    for (int i = 0; i < count && g.ClientCount < MaxClients; ++i) {
        const Demo& d = kDemo[i % available];
        const int slot = g.ClientCount + 1;
        ClientRecord r;
        r.ClientName = Fit(QString::fromUtf8(d.name), width::ClientName);
        r.ClientID = Fit(QString::fromLatin1(d.id), width::ClientID);
        r.DateOfBirth = Fit(QString::fromLatin1(d.dob), width::DateOfBirth);
        r.Age = Fit(QString::fromLatin1(d.age), width::Age);
        r.GenderCode = QString(QLatin1Char(d.gender));
        r.RaceCode = QString(QLatin1Char(d.race));
        r.EducationCode = QString(QLatin1Char(d.education));
        r.TestDate = QDate(2026, 11, 2 + i % 27).toString(QStringLiteral("MM/dd/yyyy"));
        for (int q = 1; q <= CourtFieldCount; ++q)
            *r.CourtField(q) = Fit(QString::fromLatin1(d.court[q - 1]), width::Court);
        QString responses;
        std::uniform_int_distribution<int> pct(0, 99);
        for (int item = 1; item <= ResponseCount; ++item) {
            const int top = HighestAnswerCode(SectionOfItem(item));
            std::uniform_int_distribution<int> any(1, top);
            const int code = pct(rng) < d.lean ? any(rng) : lowRisk[item - 1].digitValue();
            responses += QChar(u'0' + code);
        }
        r.Responses = responses;
        r.EditCount = QStringLiteral("0");
        r.NameDeleted = QStringLiteral("0");
        r.Reserved = QStringLiteral("0");
        g.Clients[size_t(slot)] = r;
        SaveClient(slot);
        audit::Record(audit::Event::AddedTestClient, slot);
        g.ClientCount = qint16(slot);
        ++written;
    }
    if (g.ClientCount > 0 && g.CurrentClient == 0)
        g.CurrentClient = 1;
    return written;
}

} // namespace varenta::administration
