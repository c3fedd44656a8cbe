#pragma once

#include <QToolBar>

#include <array>
#include <optional>

class QAction;
class QComboBox;
class QToolButton;

// The toolbar's commands, by name. Their order on the toolbar, their images
// and tooltips live in one table (MainToolbar.cpp). The original seven
// positions come first here, in their order; commands added since follow.
enum class ToolbarCommand {
    Connection,
    ResetModem,
    DefaultSettings,
    RelayOn,
    RelayOff,
    OpenConfiguration,
    SaveConfiguration,
    ModemTraffic,
    SerialPorts,
    About,
};
inline constexpr int ToolbarCommandCount = 10;

// The toolbar: the connection button, a gap that holds the port selector,
// then the image buttons of the other commands. Commands that need a
// connected modem are disabled until one is.
class MainToolbar : public QToolBar {
    Q_OBJECT
public:
    explicit MainToolbar(QWidget* parent = nullptr);

    QAction* action(ToolbarCommand command) const;
    QToolButton* button(ToolbarCommand command) const;
    QComboBox* cmbSerial() const { return cmbSerial_; }

    // The commands that work only while connected (reset, defaults, relays,
    // the configuration files).
    static bool needsConnection(ToolbarCommand command);
    void setConnectedCommandsEnabled(bool enabled);

    // The connection button shows the plug out of its socket (image 1) while
    // not connected and in it (image 2) while connected or connecting.
    void showConnectionImage(bool plugged);
    int connectionImage() const { return connectionImage_; }

    // The position on the toolbar, 1 to 7 with the selector's gap at 2, of
    // each of the commands the toolbar has always had, in that order; 0 for
    // the commands added since.
    static int position(ToolbarCommand command);
    // The command at a position; nothing for the gap.
    static std::optional<ToolbarCommand> commandAt(int position);

signals:
    void triggered(ToolbarCommand command);

private:
    std::array<QAction*, ToolbarCommandCount> actions_{};
    QComboBox* cmbSerial_ = nullptr;
    int connectionImage_ = 1;
};
