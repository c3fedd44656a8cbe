#pragma once

#include "InputConfig.h"

// The alarm text that the default configuration gives an input: "ALLARME",
// two blanks, the input number and " ON" or " OFF" (the number is written
// with the blank a positive number's sign takes, hence the two blanks).
QString defaultAlarmText(int input, bool on);

// The default configuration, applied to what the panels hold: input 1
// active, inputs 2 and 3 with their "Active" option cleared (a "Disactive"
// selection stays, an "Active" one leaves neither selected), every input
// "N. Open", "Single (recomended)", "100" ms, and the default alarm texts.
// The text colours are left as they are.
InputsConfig withDefaultMessages(InputsConfig inputs);
