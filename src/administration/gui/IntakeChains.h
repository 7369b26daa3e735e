#pragma once

class QWidget;

// The main window's two client operations, each a chain of modal windows.
namespace varenta::administration {

// "Edit Current Client": client information, then court history, then the answer-sheet grid,
// each only when the step before it was completed.
void EditCurrentClient(QWidget* parent = nullptr);

// "Add New Client": the entry-method window and its chain. Refused with a message when the
// data disk already holds as many clients as it can.
void AddNewClient(QWidget* parent = nullptr);

} // namespace varenta::administration
