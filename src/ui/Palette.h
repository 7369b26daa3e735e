#pragma once

#include <QColor>

// The program's colours, each named once by what it paints.
namespace varenta::ui {

// Menu panels, frames and answer fields: blue at rest, cyan where the keyboard is.
inline const QColor Blue{0, 0, 255};
inline const QColor Cyan{0, 255, 255};
// The answer cell being keyed in the answer-sheet grid.
inline const QColor Green{0, 255, 0};
// The main window's title, the chosen line of its client list, and answers shown but not
// being keyed.
inline const QColor DarkBlue{0, 0, 128};

// Framed windows: a dark area filling the window, the main frame raised on it in the face
// colour.
inline const QColor AreaColour{16, 52, 96};
inline const QColor FaceColour{212, 208, 200};

// The shield of the About box, which is also the windows' icon.
namespace logo {
inline const QColor ShieldTop{20, 40, 140};
inline const QColor ShieldFoot{0, 10, 70}; // also the name on the band
inline const QColor Rim{200, 170, 60};
inline const QColor Band{0, 200, 220};
inline const QColor Letter{230, 200, 80};
inline const QColor LetterEdge{255, 240, 180};
inline const QColor Star{255, 255, 255};
} // namespace logo

} // namespace varenta::ui
