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

QString Range(int first, int last) {
    return first == last ? QStringLiteral("client %1").arg(first)
                         : QStringLiteral("clients %1 to %2").arg(first).arg(last);
}

} // namespace

void Encrypt(QString& text, qint16 direction) {
    for (QChar& c : text) {
        if (c == QLatin1Char(' '))
            continue;
        const int code = cp1252::ByteOf(c);
        if (code < 0)
            continue;
        const bool even = code % 2 == 0;
        const int shifted = direction == 0 ? code + (even ? 7 : 3) : code - (even ? 3 : 7);
        if (shifted < 0 || shifted > 255)
            continue;
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
    if (MsgBox(warning, MsgButtons::YesNo, MsgIcon::Critical, QStringLiteral("WARNING!")) !=
        MsgAnswer::Yes)
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
        if (!RunWithRetry([n] { SaveClient(n); })) {
            // Memory keeps what the disk holds, so nothing unsaved can be shown or written
            // later as if it were done.
            r = before;
            if (scrambled > 0)
                audit::RecordDisk(audit::Event::NamesDeleted, scrambled);
            QStringList lines{
                QStringLiteral("Delete Names stopped at client %1 of %2.").arg(n).arg(count)};
            if (n > 1)
                lines << QStringLiteral("The names of %1 are deleted.").arg(Range(1, n - 1));
            lines << QStringLiteral("The names of %1 are unchanged.").arg(Range(n, count))
                  << QString() << QStringLiteral("Run Delete Names again to finish the job.");
            MsgBox(MsgLines(lines), MsgButtons::Ok, MsgIcon::Exclamation,
                   QStringLiteral("Delete Names"));
            return;
        }
        g.NameDeleted = true;
        ++scrambled;
    }
    audit::RecordDisk(audit::Event::NamesDeleted, scrambled);
    MsgBox(QStringLiteral("Process complete. Press Enter to continue."));
}

} // namespace varenta
