#include "administration/gui/IntakeChains.h"

#include "administration/gui/frmNewEntry.h"
#include "administration/gui/frmSelectEntryMethod.h"
#include "app/Globals.h"
#include "app/Messages.h"
#include "intake/ClientInfo.h"
#include "intake/gui/frmClientInfo.h"
#include "intake/gui/frmCourtHistory.h"
#include "store/SaveWithRetry.h"

#include <QWidget>

namespace varenta::administration {

namespace {

// The chain's last window may close while another (a prompt, the full-screen test) held the
// activation; the keyboard must come back to the caller's window all the same.
struct GiveBackFocus {
    QWidget* parent;
    ~GiveBackFocus() {
        if (parent && parent->isVisible()) {
            parent->raise();
            parent->activateWindow();
        }
    }
};

} // namespace

void EditCurrentClient(QWidget* parent) {
    GlobalState& g = Globals();
    if (g.CurrentClient < 1 || g.CurrentClient > g.ClientCount) {
        MsgBox(QStringLiteral("Choose a client from the list first."), MsgButtons::Ok,
               MsgIcon::Information);
        return;
    }
    const GiveBackFocus back{parent};
    g.EditMode = true;
    Globals().ScanEditMode = false;
    intake::frmClientInfo info(parent);
    info.exec();
    if (!g.ContinueFlag)
        return;
    g.ContinueFlag = false;
    intake::frmCourtHistory court(parent);
    court.exec();
    if (!g.ContinueFlag)
        return;
    frmNewEntry grid(parent);
    grid.exec();
}

void AddNewClient(QWidget* parent) {
    GlobalState& g = Globals();
    if (g.ClientCount >= MaxClients) {
        ShowDiskFull();
        return;
    }
    const GiveBackFocus back{parent};
    g.EditMode = false;
    Globals().ScanEditMode = false;
    frmSelectEntryMethod method(parent);
    method.exec();
}

} // namespace varenta::administration
