#pragma once

#include <QKeySequence>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QToolBar>

#include <map>

class QAction;
class QComboBox;
class QToolButton;

// The window's own commands, beside the modem commands of the table
// (ModemCommands.h). Their ids are the buttons' object names and the names
// of their pictures.
namespace WindowCommand {
inline constexpr QLatin1StringView Connection("connection");
inline constexpr QLatin1StringView OpenConfiguration("open-configuration");
inline constexpr QLatin1StringView SaveConfiguration("save-configuration");
inline constexpr QLatin1StringView ModemTraffic("modem-traffic");
inline constexpr QLatin1StringView SerialPorts("serial-ports");
inline constexpr QLatin1StringView About("about");
} // namespace WindowCommand

// The toolbar: the connection button, a gap that holds the port selector,
// a button for every modem command of the table, then the window's own
// commands, About last. Commands that need a connected modem are disabled
// until one is. Opening and saving a configuration and About answer to the
// desktop's standard keys (Ctrl+O, Ctrl+S, F1), named in their tool tips.
class MainToolbar : public QToolBar {
    Q_OBJECT
public:
    explicit MainToolbar(QWidget* parent = nullptr);

    QComboBox* cmbSerial() const { return cmbSerial_; }
    // Every command's id, in the toolbar's order.
    QStringList commandIds() const;
    QAction* action(const QString& id) const;
    QToolButton* button(const QString& id) const;

    // The commands that work only while connected: the modem commands and
    // the configuration files.
    void setConnectedCommandsEnabled(bool enabled);

    // The connection button shows the plug out of its socket (image 1) while
    // not connected and in it (image 2) while connected or connecting.
    void showConnectionImage(bool plugged);
    int connectionImage() const { return connectionImage_; }

signals:
    void triggered(const QString& id);

private:
    QAction* addCommand(const QString& id, const QString& toolTip, bool needsConnection);
    void giveKeys(const QString& id, QKeySequence::StandardKey command, const QKeySequence& usual);

    std::map<QString, QAction*> actions_;
    QStringList needConnection_;
    QComboBox* cmbSerial_ = nullptr;
    int connectionImage_ = 1;
};
