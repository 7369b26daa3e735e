// The audit trail Audit.log of a data disk: every line comes back, readable or not, in order;
// what is shown of it holds no control characters; a line read as valid is written back as
// the same line, so the trail survives being read and appended to by this version.
#include "FuzzSupport.h"

#include "store/AuditTrail.h"

using namespace varenta;
using namespace varenta::audit;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzz::Bytes(data, size);
    const std::vector<Entry> entries = ParseLog(input);
    const qsizetype lines = input.count('\n') + 1;
    if (qsizetype(entries.size()) > lines)
        fuzz::Broken("more entries than lines");
    int previous = 0;
    for (const Entry& e : entries) {
        if (e.line <= previous || e.line > lines)
            fuzz::Broken("line numbers out of order", QString::number(e.line));
        previous = e.line;
        for (const QString& shown : {e.text, DisplayLine(e), Describe(e)})
            for (const QChar c : shown)
                if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                    fuzz::Broken("a control character is shown", shown);
        if (e.text.size() > 200)
            fuzz::Broken("an overlong line is shown whole");
        if (!e.valid)
            continue;
        const std::vector<Entry> again = ParseLog(FormatLine(e));
        if (again.size() != 1 || !again[0].valid)
            fuzz::Broken("a valid line was not written back readable", e.text);
        const Entry& b = again[0];
        if (b.when != e.when || b.when.offsetFromUtc() != e.when.offsetFromUtc() ||
            b.user != e.user || b.computer != e.computer || b.keyword != e.keyword ||
            b.event != e.event || b.record != e.record || b.count != e.count)
            fuzz::Broken("a valid line changed when written back", e.text);
    }
    return 0;
}
