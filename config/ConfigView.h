#pragma once

#include "InputConfig.h"
#include "ModemView.h"

// What the configuration operations need of the window beyond the link's
// needs: the three input panels and the 20 number cells of the phone grid.
// Inputs are numbered 1 to 3, phone-book positions 1 to 20.
class ConfigView : public ModemView {
public:
    virtual InputConfig inputConfig(int input) const = 0;
    virtual void setInputConfig(int input, const InputConfig& config) = 0;
    virtual QString phoneNumber(int position) const = 0;
    virtual void setPhoneNumber(int position, const QString& number) = 0;
};
