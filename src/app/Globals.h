#pragma once

#include "store/ClientRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

namespace varenta {

inline constexpr int MaxClients = 51; // slots 1..51; slot 0 is never a client

// The test's three sections: the last item of each, entry 0 being the start sentinel.
inline constexpr std::array<int, 4> TestSectionEnds{0, 63, 97, ResponseCount};

// Which client data file was loaded or last written, and the bytes it then held, so that a
// write can make sure the data disk is still the one loaded.
struct DataFileStamp {
    bool known = false;
    quint64 device = 0;
    quint64 inode = 0;
    QByteArray content;
};

// The program's shared state, in one place. Every window and routine reads and writes it
// through Globals(); tests start each case from a fresh one with ResetGlobals().
//
// What a module must keep outside it (its types belong to a layer above this one: the score
// sheet, the hooks between features, the print service, ...) is put back by ResetGlobals() as
// well: the module registers how with a StateReset.
struct GlobalState {
    // Client store.
    std::array<ClientRecord, MaxClients + 1> Clients;
    qint16 ClientCount = 0;
    qint16 CurrentClient = 0;

    // Flags of the intake chain.
    bool EditMode = false;
    bool ContinueFlag = false;
    bool NameDeleted = false;
    // Set when the client windows start on "Information OK" and the edit limit does not apply;
    // the main window clears it before both of its paths.
    bool ScanEditMode = false;

    // Set at start-up.
    QString ProgramDir; // the files that ship with the program: see app/Paths
    QString DataPath;   // data disk folder, without a trailing "/"
    QString DataFilePath;
    DataFileStamp DataFile;
    QString QuestionDbPath;
    QString SndPath;
    bool PrintDOS = true;
    bool DbWorkspace = false; // the question database layer is configured

    // Where each user's own files go when the program is installed (app/Paths); empty in the
    // portable layout, which keeps them in ProgramDir beside the program.
    QString UserSettingsDir;           // qvtest.ini
    QString UserReportDir;             // report.prn and its print copies, private to the user
    bool SettingsProblemShown = false; // the user was told their settings cannot be kept

    std::array<int, 4> SectionEnd = TestSectionEnds;

    QStringList GenderNames;    // width 6
    QStringList RaceNames;      // width 15
    QStringList EducationNames; // width 28

    // The data disk whose audit trail could not be written, once the user was told.
    QString AuditFailureShownFor;
};

GlobalState& Globals();

// Everything the program keeps between calls as it is when the program starts: a fresh
// GlobalState, and every module's own state, hooks, installed services and test settings put
// back by the resets they registered. Every test starts from here.
void ResetGlobals();

// Registers, as the program starts, how a module puts back what it keeps outside GlobalState:
//     namespace { const StateReset reset([] { g_sheet = {}; }); }
// The state and its reset lie in one source file, so both are linked or neither is.
class StateReset {
public:
    explicit StateReset(void (*reset)());
};

// The slot CurrentClient names; slot 0 (never a stored client) when it is out of range.
ClientRecord& CurrentRecord();

inline constexpr const char* AppTitle = "QVtest";
inline constexpr const char* ProductName = "Varenta";

} // namespace varenta
