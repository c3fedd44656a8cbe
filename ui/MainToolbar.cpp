#include "MainToolbar.h"

#include "Images.h"
#include "Twips.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMoveEvent>
#include <QToolButton>

namespace {
struct CommandDefinition {
    ToolbarCommand command;
    const char* name; // the action's objectName
    int image;
    const char* tooltip; // UTF-8
    bool needsConnection;
};

// In the toolbar's order, left to right; the port selector's gap follows the first.
constexpr std::array<CommandDefinition, ToolbarCommandCount> Commands = {{
    {ToolbarCommand::Connection, "connection", 1, "Connection", false},
    {ToolbarCommand::ResetModem, "resetModem", 3, "Reset Modem", true},
    {ToolbarCommand::DefaultSettings, "defaultSettings", 8, "Set default settings", true},
    {ToolbarCommand::RelayOn, "relayOn", 4, "Set reley on", true},
    {ToolbarCommand::RelayOff, "relayOff", 5, "Set reley off", true},
    {ToolbarCommand::OpenConfiguration, "openConfiguration", 9, "Open configuration\u2026", true},
    {ToolbarCommand::SaveConfiguration, "saveConfiguration", 10, "Save configuration\u2026", true},
    {ToolbarCommand::ModemTraffic, "modemTraffic", 11, "Modem traffic", false},
    {ToolbarCommand::SerialPorts, "serialPorts", 12, "Serial ports", false},
    {ToolbarCommand::About, "about", 6, "About Tavek", false},
}};
constexpr int GapAfter = 1; // commands before the port selector

// The commands the toolbar has always had, in their order: positions 1 and
// 3 to 7 of the click handler by position.
constexpr std::array<ToolbarCommand, 6> PositionedCommands = {
    ToolbarCommand::Connection, ToolbarCommand::ResetModem, ToolbarCommand::DefaultSettings,
    ToolbarCommand::RelayOn,    ToolbarCommand::RelayOff,   ToolbarCommand::About};

// Every command has one row.
static_assert([] {
    for (int c = 0; c < ToolbarCommandCount; ++c) {
        int rows = 0;
        for (const CommandDefinition& row : Commands)
            rows += row.command == ToolbarCommand(c);
        if (rows != 1)
            return false;
    }
    return true;
}());

const CommandDefinition& definition(ToolbarCommand command) {
    for (const CommandDefinition& row : Commands)
        if (row.command == command)
            return row;
    return Commands.front(); // not reached: every command has a row
}

// The port selector sits at a fixed place of the toolbar. The toolbar lays
// out the gap as it likes, so the gap moves the selector to keep that place.
class SelectorGap : public QWidget {
public:
    SelectorGap(QWidget* selector, QPoint placeInToolbar, QWidget* parent)
        : QWidget(parent), selector_(selector), place_(placeInToolbar) {
        selector_->setParent(this);
        // Room for the selector with a margin either side.
        setFixedSize(selector_->width() + 2 * place_.y(), selector_->height() + 2 * place_.y());
    }

protected:
    void moveEvent(QMoveEvent* event) override {
        QWidget::moveEvent(event);
        const QPoint inGap = place_ - pos();
        selector_->move(qBound(0, inGap.x(), width() - selector_->width()),
                        qBound(0, inGap.y(), height() - selector_->height()));
    }

private:
    QWidget* selector_;
    QPoint place_;
};
} // namespace

MainToolbar::MainToolbar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setFloatable(false);
    setIconSize(ToolbarImageSize);
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    cmbSerial_ = new QComboBox;
    cmbSerial_->setObjectName(QStringLiteral("cmbSerial"));
    cmbSerial_->setEditable(false);
    const QRect selectorPlace = twipsRect(720, 120, 1815, 315);
    cmbSerial_->resize(selectorPlace.size());

    for (int i = 0; i < ToolbarCommandCount; ++i) {
        const CommandDefinition& command = Commands[std::size_t(i)];
        if (i == GapAfter) {
            auto* gap = new SelectorGap(cmbSerial_, selectorPlace.topLeft(), this);
            gap->setObjectName(QStringLiteral("Toolbar1_gap"));
            // The selector has no label on screen. A reader hears the port it
            // shows as its name ("Com 1") and this hidden label by relation.
            auto* label = new QLabel(tr("Serial port"), gap);
            label->setObjectName(QStringLiteral("lblSerial"));
            label->setBuddy(cmbSerial_);
            label->hide();
            addWidget(gap);
        }
        const QString tooltip = QString::fromUtf8(command.tooltip);
        QAction* action = addAction(toolbarImage(command.image), tooltip);
        action->setObjectName(QString::fromLatin1(command.name));
        action->setToolTip(tooltip);
        action->setEnabled(!command.needsConnection);
        actions_[std::size_t(command.command)] = action;
        if (QWidget* widget = widgetForAction(action)) {
            widget->setObjectName(QStringLiteral("Toolbar1_") + QString::fromLatin1(command.name));
            widget->setAccessibleName(tooltip);
            // Reachable with Tab, so that everything can be done from the keyboard.
            widget->setFocusPolicy(Qt::TabFocus);
        }
        connect(action, &QAction::triggered, this,
                [this, which = command.command] { emit triggered(which); });
    }
}

QAction* MainToolbar::action(ToolbarCommand command) const {
    return actions_[std::size_t(command)];
}

QToolButton* MainToolbar::button(ToolbarCommand command) const {
    return qobject_cast<QToolButton*>(widgetForAction(action(command)));
}

bool MainToolbar::needsConnection(ToolbarCommand command) {
    return definition(command).needsConnection;
}

void MainToolbar::setConnectedCommandsEnabled(bool enabled) {
    for (const CommandDefinition& command : Commands) {
        if (command.needsConnection)
            action(command.command)->setEnabled(enabled);
    }
}

void MainToolbar::showConnectionImage(bool plugged) {
    connectionImage_ = plugged ? 2 : 1;
    action(ToolbarCommand::Connection)->setIcon(toolbarImage(connectionImage_));
}

int MainToolbar::position(ToolbarCommand command) {
    for (std::size_t i = 0; i < PositionedCommands.size(); ++i) {
        if (PositionedCommands[i] == command)
            return int(i) < GapAfter ? int(i) + 1 : int(i) + 2;
    }
    return 0;
}

std::optional<ToolbarCommand> MainToolbar::commandAt(int position) {
    for (ToolbarCommand command : PositionedCommands) {
        if (MainToolbar::position(command) == position)
            return command;
    }
    return std::nullopt;
}
