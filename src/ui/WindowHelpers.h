#pragma once

#include "ui/Palette.h"

#include <QColor>
#include <QList>

class QWidget;

// Small helpers every window uses.
namespace varenta::ui {

// Screen measures are given in twips: 1440 to the inch, so 15 to a pixel at 96 dpi.
int Twips(int twips);

// Places the window in the middle of its screen (unless it is maximised); a window larger
// than the screen gets a negative position.
void CenterForm(QWidget* window);

// Hourglass and normal pointer; both let pending events run.
void BusyPointer();
void NormalPointer();

// Tab (and Shift+Tab) move through `chain` in its order.
void SetTabChain(const QList<QWidget*>& chain);

// Paints a frame or panel in one of the two looks: cyan with black bold caption when
// selected, blue with white regular caption otherwise.
void PaintSelectable(QWidget* frame, bool selected);

// Sets a widget's background colour (and optionally its text colour).
void SetBackground(QWidget* w, const QColor& background, const QColor& text = QColor());

} // namespace varenta::ui
