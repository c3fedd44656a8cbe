#pragma once

class ModemConnection;
class ModemView;

// One command of the window on the connection. The operations pump window
// events while they wait, so a click can arrive in the middle of one; while
// a command runs no other may start, since two exchanges on one port would
// mix their replies. Where asked, the controls are off while it runs and on
// again after, unless the connection was lost or the window closed meanwhile.
class CommandRun {
public:
    enum class Controls { Untouched, Off };

    CommandRun(ModemConnection& connection, ModemView& view, Controls controls);
    ~CommandRun();
    CommandRun(const CommandRun&) = delete;
    CommandRun& operator=(const CommandRun&) = delete;

    // False when another command was running: this one must not start.
    bool started() const { return started_; }

private:
    ModemConnection& connection_;
    ModemView& view_;
    Controls controls_;
    bool started_ = false;
};
