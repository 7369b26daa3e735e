// The comments file Comments.dat, as a data disk brings it: read for the comments window and
// the report, wrapped into the report's lines, and rewritten by a save.
#include "FuzzSupport.h"

#include "app/Errors.h"
#include "app/Globals.h"
#include "scoring/ReportWriter.h"
#include "store/ClientStore.h"
#include "store/Comments.h"

using namespace varenta;

namespace {

// What the window says of a comment agrees with what the report prints of it.
void CheckFit(const QString& text) {
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return; // the window never holds a stored comment's lone line ends
    const scoring::CommentFit fit = scoring::FitComment(text);
    const int lines =
        int(scoring::WrapComment(QStringLiteral("COMMENTS/RECOMMENDATIONS: ") + text).size());
    if (fit.whole != (lines <= scoring::CommentLines))
        fuzz::Broken("the comments window and the report disagree", text);
    if (!fit.whole && !scoring::FitComment(text.left(fit.printed)).whole)
        fuzz::Broken("the characters said to print do not fit", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp(fuzz::VariedClients());
    const QByteArray input = fuzz::Bytes(data, size);
    GlobalState& g = Globals();
    fuzz::Put(CommentsFilePath(), input);
    try {
        LoadClients();
        LoadComments();
    } catch (const VError&) {
        return 0;
    }
    QStringList before;
    for (int n = 1; n <= g.ClientCount; ++n) {
        before << CommentText(n);
        if (ReadComment(n) != before.last())
            fuzz::Broken("one comment read alone differs from the table", QString::number(n));
        CheckFit(before.last());
    }
    g.CurrentClient = qint16(1 + size % size_t(g.ClientCount));
    fuzz::ScoreAndView();

    // A save changes that client's comment alone.
    const int saved = g.CurrentClient;
    try {
        SaveComment(QStringLiteral("Seen on Monday.\r\nFollow-up in May."));
        LoadComments();
    } catch (const VError&) {
        return 0;
    }
    for (int n = 1; n <= g.ClientCount; ++n) {
        const QString now = CommentText(n);
        if (n == saved ? now != QStringLiteral("Seen on Monday.  Follow-up in May.")
                       : now != before[n - 1])
            fuzz::Broken("a save changed another client's comment", QString::number(n));
    }
    return 0;
}
