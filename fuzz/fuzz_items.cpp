// An item source (English.tsv, Spanish.tsv), as a site supplies its items: read, then taken
// apart for the on-screen test and for the answer-sheet grids.
#include "FuzzSupport.h"

#include "administration/AnswerGrid.h"
#include "administration/PresentationItems.h"
#include "administration/QuestionDb.h"
#include "app/Errors.h"

using namespace varenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::SetUp({});
    const QString path = fuzz::DiskDir() + QStringLiteral("/English.tsv");
    fuzz::Put(path, fuzz::Bytes(data, size));
    administration::QuestionTable table;
    try {
        table = administration::ReadItemSource(path);
    } catch (const VError&) {
        return 0;
    }
    try {
        (void)administration::PresentedItemsFrom(table);
    } catch (const VError&) {
    }
    try {
        const administration::AnswerGrid grid = administration::AnswerGrid::FromTable(table);
        for (int g = 0; g < grid.GridCount(); ++g)
            (void)grid.Headers(g);
    } catch (const VError&) {
    }
    return 0;
}
