#include "CommandRun.h"

#include "ModemConnection.h"
#include "ModemView.h"

CommandRun::CommandRun(ModemConnection& connection, ModemView& view, Controls controls)
    : connection_(connection), view_(view), controls_(controls) {
    if (connection_.busy())
        return;
    started_ = true;
    connection_.setBusy(true);
    if (controls_ == Controls::Off)
        view_.setControlsEnabled(false);
}

CommandRun::~CommandRun() {
    if (!started_)
        return;
    connection_.setBusy(false);
    if (controls_ == Controls::Off && connection_.ModemConnected && !view_.cancelled())
        view_.setControlsEnabled(true);
}
