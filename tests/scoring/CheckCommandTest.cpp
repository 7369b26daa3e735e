// The hidden "Check" command: the client's fields stored and written, then scored at once.
#include "scoring/CheckCommand.h"

#include "app/Globals.h"
#include "app/Messages.h"
#include "store/ClientStore.h"
#include "support/OnDataDisk.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varenta;
using namespace varenta::scoring;
using namespace varenta::testing;

namespace {

using CheckCommand = OnDataDisk;

TEST_F(CheckCommand, WritesTheStoredFieldsAndShowsTheScores) {
    LoadDisk(2);
    UseProgramDir();
    Globals().EditMode = true;
    Globals().CurrentClient = 1;
    RunCheck(
        [] { CurrentRecord().ClientName = Fit(QStringLiteral("Checked"), width::ClientName); });

    ASSERT_FALSE(messages.shown().empty());
    const QStringList lines = messages.last().text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6) << qPrintable(messages.last().text);
    EXPECT_EQ(lines[0], "Scale\t\t\t %ile\tR/P");
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    LoadClients();
    EXPECT_EQ(Globals().Clients[1].ClientName.trimmed(), "Checked");
}

} // namespace
