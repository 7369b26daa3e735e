#pragma once

#include "ui/Palette.h"

#include <QString>

#include <functional>

class QDialog;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class QWidget;

// The two ways the windows stand on screen, built in one place so they all look alike.
namespace varenta::ui {

class MenuButtons;
class MsgPanel;

// Framed windows: a dark area filling the window (AreaColour), the main frame raised on it in
// the face colour (FaceColour), and the help line along the foot.

// The dark area, filling `dialog` edge to edge.
QWidget* AddDarkArea(QDialog* dialog);
// The raised main frame on the area.
QFrame* AddRaisedFrame(QWidget* area, const QString& objectName);
// The help line of a framed window, in the face colour; PlaceFramed puts it along the foot.
MsgPanel* AddFootPanel(QWidget* area);

enum class FramePlace {
    AboveCentre, // 500 twips above the middle of the area
    AbovePanel,  // in the middle of what the help line leaves
};
// Fixes a laid-out frame at the size its contents want.
void FixAtSizeHint(QWidget* frame);
// Lays the help line along the foot of the area and centres the frame; the frame never
// leaves the top left corner.
void PlaceFramed(QWidget* area, QWidget* frame, MsgPanel* panel,
                 FramePlace place = FramePlace::AboveCentre);

// Laid-out windows: what is added to the column returned stands 500 twips above the middle of
// `window`, and the help line runs along its foot.
MsgPanel* AddHelpLine(QWidget* window); // a long help line does not widen the window
QVBoxLayout* AboveMiddleColumn(QWidget* window, MsgPanel* helpLine);
// The client's name over the window's frame, bold and centred ("lblClientName").
QLabel* AddClientNameLabel(QWidget* window);
// The window's frame around its fields, a sunken box.
QFrame* AddSunkenFrame(QWidget* window, const QString& objectName);
// `w` (or `l`) centred across a row of its own.
QHBoxLayout* CentredRow(QWidget* w);
QHBoxLayout* CentredRow(QLayout* l);

// A frame "fraSelectMethod" of menu buttons one above the other, as the choice windows show
// them; add the panels to its layout.
QGroupBox* AddChoiceFrame(QWidget* parent, const QString& title);

// One button of a pair: its caption, its help line (null: none of its own) and what it does.
struct MenuChoice {
    QString caption;
    QString help;
    std::function<void()> run;
};
// The places of the pair in its MenuButtons, where it is the window's only buttons: the one
// that goes on and the one that cancels.
enum class PairButton { Accept, Cancel };
// The pair of menu buttons most windows end with ("Information OK" / "Cancel Input"), centred
// in a row of their own, `gap` apart and at least `minWidth` wide.
QWidget* AddButtonPair(MenuButtons* buttons, QWidget* parent, const MenuChoice& first,
                       const MenuChoice& second, int minWidth, int gap);

// A developer command: present for the tools that press it, never shown.
QPushButton* AddHiddenCommand(QWidget* window, const QString& caption, const QString& objectName,
                              std::function<void()> run);

// A client list in fixed pitch, black on white, wide enough for `columns` characters.
void StyleClientList(QListWidget* list, int columns, int minHeight);

} // namespace varenta::ui
