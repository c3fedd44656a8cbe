#pragma once

#include "InputConfig.h"

#include <QString>
#include <QStringList>

// The "AT+EGINP=" records that write one input into the modem, without their
// carriage return (the AT exchange adds it). Inputs are numbered 1 to 3.

// AT+EGINP=n,status,delay,"rest","bit"
QString settingsRecord(int input, const InputConfig& config);

// The two message records of an input: first the text of the Single box with
// the letter opposite the rest state, then the Double box's text with the rest
// state's own letter. When the Single box shows the placeholder, both carry
// the empty text. The texts go out unchanged; each must be one the line
// carries (ModemText.h).
QStringList messageRecords(int input, const InputConfig& config);

// All nine records, input 1 to 3, each as settings, first and second message.
QStringList inputRecords(const InputsConfig& inputs);
