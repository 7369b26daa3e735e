#pragma once

// The common start of a test on a data disk, a window's above all: a temporary data disk
// loaded as start-up loads it, a program folder of the test's own, and message boxes answered
// by script.
#include "app/Globals.h"
#include "app/Messages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace varenta::testing {

class OnDataDisk : public ::testing::Test {
protected:
    // Writes a data disk holding sample clients 1 to `count` (or these clients) and loads it.
    void LoadDisk(int count) { LoadDisk(SampleClients(count)); }
    void LoadDisk(const std::vector<ClientRecord>& clients) {
        WriteDataDisk(disk.path(), clients);
        UseDataDisk(disk.path());
    }

    // A new client in the slot after the last, as the client information window leaves it for
    // the windows that follow: a sample client without answers, not yet on the disk.
    ClientRecord& NewClient() {
        GlobalState& g = Globals();
        g.EditMode = false;
        g.CurrentClient = qint16(g.ClientCount + 1);
        ClientRecord& r = g.Clients[size_t(g.CurrentClient)];
        r = SampleClient(g.CurrentClient);
        r.Responses = QString(ResponseCount, QLatin1Char('0'));
        return r;
    }

    // The client data file as it is on the disk now, and the configuration file.
    QByteArray data() const { return ReadFile(Globals().DataFilePath); }
    QString Ini() const { return QString::fromUtf8(ReadFile(program.file("qvtest.ini"))); }

    TempDir disk;
    TempDir program;
    ScriptedMessages messages;
};

} // namespace varenta::testing
