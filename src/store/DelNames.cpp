#include "store/DelNames.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "store/AuditTrail.h"
#include "store/ClientStore.h"
#include "store/Cp1252.h"
#include "store/SaveWithRetry.h"

namespace varenta {

namespace {

const QString kDeleted = QStringLiteral("1");
const QString kIntact = QStringLiteral("0");

// "The name of client 4 is", "The names of clients 1 to 3 are", "... clients 1, 3 and 5 to 7
// are": runs of three or more clients as ranges.
QString NamesOf(const QList<int>& numbers) {
    QStringList parts;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        if (j - i >= 2) {
            parts << QStringLiteral("%1 to %2").arg(numbers[i]).arg(numbers[j]);
        } else {
            for (qsizetype k = i; k <= j; ++k)
                parts << QString::number(numbers[k]);
        }
        i = j + 1;
    }
    const QString last = parts.takeLast();
    const QString all =
        parts.isEmpty() ? last : parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    return numbers.size() == 1 ? QStringLiteral("The name of client %1 is").arg(all)
                               : QStringLiteral("The names of clients %1 are").arg(all);
}

// Says where a run that stopped at client `stopped` left every name. A write that failed may
// still have reached the disk, so after one the disk is read back and its records decide
// (memory is set to match them); the others stand as the confirmed writes left them.
void ShowStopped(int stopped, int count, bool writeBegan) {
    GlobalState& g = Globals();
    std::vector<ClientRecord> disk;
    const bool read = writeBegan && ReadBackClients(&disk);
    QList<int> deleted;
    QList<int> intact;
    bool unknown = false;
    for (int k = 1; k <= count; ++k) {
        ClientRecord& r = g.Clients[size_t(k)];
        if (read && k <= int(disk.size())) {
            r.ClientName = disk[size_t(k - 1)].ClientName;
            r.NameDeleted = disk[size_t(k - 1)].NameDeleted;
        } else if (k == stopped && writeBegan) {
            unknown = true;
            continue;
        }
        (r.NameDeleted == kIntact ? intact : deleted) << k;
        if (k == stopped && r.NameDeleted != kIntact)
            g.NameDeleted = true;
    }
    QStringList lines{
        QStringLiteral("Delete Names stopped at client %1 of %2.").arg(stopped).arg(count)};
    if (!deleted.isEmpty())
        lines << NamesOf(deleted) + QStringLiteral(" deleted.");
    if (!intact.isEmpty())
        lines << NamesOf(intact) + QStringLiteral(" unchanged.");
    if (unknown)
        lines << QStringLiteral("Whether the name of client %1 is deleted is not known: the data "
                                "disk could not be read back.")
                     .arg(stopped);
    lines << QString() << QStringLiteral("Run Delete Names again to finish the job.");
    MsgBox(MsgLines(lines), MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("Delete Names"));
}

// A character a name can hold: printable and defined in the code page (the blank aside).
bool Printable(int code) {
    return code > 32 && code != 127 &&
           cp1252::DecodeByte(static_cast<unsigned char>(code)).category() != QChar::Other_Control;
}

// Even codes shift up by 7, odd ones by 3. Where that would leave the code page or land on
// a control character, the code takes one of the printable codes the shift never reaches
// instead, so every character changes, none becomes unprintable, and restoring still gives
// back every name exactly.
struct Substitute {
    int from;
    int to;
};
constexpr Substitute kSubstitutes[] = {
    {120, 35},  // x (the shift gives DEL)
    {122, 37},  // z (undefined 0x81)
    {134, 34},  // dagger (undefined 0x8D)
    {136, 160}, // modifier circumflex (undefined 0x8F)
    {150, 39},  // en dash (undefined 0x9D)
    // The shift takes these past the end of the code page (251 still fits).
    {250, 130},
    {252, 132},
    {253, 146},
    {254, 151},
    {255, 33},
};

int ShiftUp(int code) {
    return code + (code % 2 == 0 ? 7 : 3);
}

int ScrambledCode(int code) {
    // A control character cannot be typed; one found in a damaged record is hidden too.
    if (!Printable(code))
        return '?';
    for (const Substitute& s : kSubstitutes)
        if (s.from == code)
            return s.to;
    return ShiftUp(code);
}

// The code that scrambles to `code`; -1 when there is none.
int RestoredCode(int code) {
    for (const Substitute& s : kSubstitutes)
        if (s.to == code)
            return s.from;
    const int back = code - (code % 2 == 0 ? 3 : 7);
    return back >= 0 ? back : -1;
}

} // namespace

void Encrypt(QString& text, qint16 direction) {
    for (QChar& c : text) {
        if (c == QLatin1Char(' '))
            continue;
        const int code = cp1252::ByteOf(c);
        if (code < 0)
            continue;
        const int shifted = direction == 0 ? ScrambledCode(code) : RestoredCode(code);
        if (shifted >= 0)
            c = cp1252::DecodeByte(static_cast<unsigned char>(shifted));
    }
}

void DelNames() {
    const QString warning =
        MsgLines({QStringLiteral("You are about to delete the Client Name from"),
                  QStringLiteral("all tests on this diskette. This should not be done"),
                  QStringLiteral("until you have printed all reports and are finished"),
                  QStringLiteral("with this diskette and ready to return it."), QString(),
                  QStringLiteral("Are you SURE you want to do this?")});
    // No is the default: one stray Enter must not scramble every name on the disk.
    if (MsgBox(warning, MsgButtons::YesNo, MsgIcon::Critical, QStringLiteral("WARNING!"),
               MsgDefault::Second) != MsgAnswer::Yes)
        return;

    GlobalState& g = Globals();
    const int count = g.ClientCount;
    int scrambled = 0;
    for (int n = 1; n <= count; ++n) {
        ClientRecord& r = g.Clients[size_t(n)];
        if (r.NameDeleted != kIntact)
            continue;
        const ClientRecord before = r;
        QString name = Fit(r.ClientName, width::ClientName);
        Encrypt(name, 0);
        r.ClientName = name;
        r.NameDeleted = kDeleted;
        bool writeBegan = false;
        if (!RunWithRetry([n, &writeBegan] { SaveClient(n, &writeBegan); })) {
            // Memory keeps what the disk holds, so nothing unsaved can be shown or written
            // later as if it were done.
            r = before;
            if (scrambled > 0)
                audit::RecordDisk(audit::Event::NamesDeleted, scrambled);
            ShowStopped(n, count, writeBegan);
            return;
        }
        g.NameDeleted = true;
        ++scrambled;
    }
    audit::RecordDisk(audit::Event::NamesDeleted, scrambled);
    MsgBox(QStringLiteral("Process complete. Press Enter to continue."));
}

} // namespace varenta
