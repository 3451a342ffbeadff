// Placing top-level windows on the screen.
#pragma once

class QWidget;

// Moves w to the centre of the screen it is on (the primary screen before it is shown).
void centerOnScreen(QWidget *w);
