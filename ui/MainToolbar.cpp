#include "MainToolbar.h"

#include "Images.h"
#include "ModemCommands.h"
#include "StandardKeys.h"
#include "Twips.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QToolButton>

namespace {

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

    addCommand(WindowCommand::Connection, tr("Connection"), false);
    auto* gap = new SelectorGap(cmbSerial_, selectorPlace.topLeft(), this);
    gap->setObjectName(QStringLiteral("Toolbar1_gap"));
    // The selector has no label on screen. A reader hears the port it shows
    // as its name ("Com 1") and this hidden label by relation.
    auto* label = new QLabel(tr("Serial port"), gap);
    label->setObjectName(QStringLiteral("lblSerial"));
    label->setBuddy(cmbSerial_);
    label->hide();
    addWidget(gap);
    for (const ModemCommand& command : modemCommands())
        addCommand(command.id, QCoreApplication::translate(ModemCommandsContext, command.caption),
                   true);
    addCommand(WindowCommand::OpenConfiguration, tr("Open configuration\u2026"), true);
    addCommand(WindowCommand::SaveConfiguration, tr("Save configuration\u2026"), true);
    addCommand(WindowCommand::ModemTraffic, tr("Modem traffic"), false);
    addCommand(WindowCommand::SerialPorts, tr("Serial ports"), false);
    addCommand(WindowCommand::About, tr("About Tavek"), false);
    // The desktop's own keys, where it has them for a command; each works
    // while its button does.
    giveKeys(WindowCommand::OpenConfiguration, QKeySequence::Open, Qt::CTRL | Qt::Key_O);
    giveKeys(WindowCommand::SaveConfiguration, QKeySequence::Save, Qt::CTRL | Qt::Key_S);
    giveKeys(WindowCommand::About, QKeySequence::HelpContents, Qt::Key_F1);
}

void MainToolbar::giveKeys(const QString& id, QKeySequence::StandardKey command,
                           const QKeySequence& usual) {
    QAction* given = action(id);
    given->setShortcuts(standardKeys(command, usual));
    // The tool tip teaches the keys; a screen reader hears them from the
    // button's accessible interface (ToolButtonAccessible.h), as its
    // name stays the command's.
    given->setToolTip(
        tr("%1 (%2)").arg(given->text(), given->shortcut().toString(QKeySequence::NativeText)));
}

QAction* MainToolbar::addCommand(const QString& id, const QString& toolTip, bool needsConnection) {
    QAction* action = addAction(iconNamed(id), toolTip);
    action->setObjectName(id + QStringLiteral("Action"));
    action->setToolTip(toolTip);
    action->setEnabled(!needsConnection);
    actions_[id] = action;
    if (needsConnection)
        needConnection_ << id;
    if (QWidget* widget = widgetForAction(action)) {
        widget->setObjectName(id);
        widget->setAccessibleName(toolTip);
        // Reachable with Tab, so that everything can be done from the keyboard.
        widget->setFocusPolicy(Qt::TabFocus);
    }
    connect(action, &QAction::triggered, this, [this, id] { emit triggered(id); });
    return action;
}

QStringList MainToolbar::commandIds() const {
    QStringList ids;
    for (QAction* action : actions()) {
        for (const auto& [id, known] : actions_)
            if (known == action)
                ids << id;
    }
    return ids;
}

QAction* MainToolbar::action(const QString& id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

QToolButton* MainToolbar::button(const QString& id) const {
    QAction* command = action(id);
    return command ? qobject_cast<QToolButton*>(widgetForAction(command)) : nullptr;
}

void MainToolbar::setConnectedCommandsEnabled(bool enabled) {
    for (const QString& id : needConnection_)
        action(id)->setEnabled(enabled);
}

void MainToolbar::showConnectionImage(bool plugged) {
    connectionImage_ = plugged ? 2 : 1;
    action(WindowCommand::Connection)
        ->setIcon(iconNamed(plugged ? u"connection-plugged" : u"connection"));
}
