#include "MainToolbar.h"

#include "Images.h"
#include "Twips.h"

#include <QAction>
#include <QComboBox>
#include <QMoveEvent>
#include <QToolButton>

namespace {
struct ButtonDefinition {
    int position;
    int image;
    const char* tooltip;
    bool enabledAtStart;
};

constexpr std::array<ButtonDefinition, 6> Buttons = {{
    {1, 1, "Connection", true},
    {3, 3, "Reset Modem", false},
    {4, 8, "Set default settings", false},
    {5, 4, "Set reley on", false},
    {6, 5, "Set reley off", false},
    {7, 6, "About Tavek", true},
}};

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
    cmbSerial_->setAccessibleName(QStringLiteral("Serial port"));
    const QRect selectorPlace = twipsRect(720, 120, 1815, 315);
    cmbSerial_->resize(selectorPlace.size());

    for (const ButtonDefinition& definition : Buttons) {
        if (definition.position == SelectorPosition + 1) {
            auto* gap = new SelectorGap(cmbSerial_, selectorPlace.topLeft(), this);
            gap->setObjectName(QStringLiteral("Toolbar1_gap2"));
            addWidget(gap);
        }
        QAction* action =
            addAction(toolbarImage(definition.image), QString::fromLatin1(definition.tooltip));
        action->setObjectName(QStringLiteral("Toolbar1_%1").arg(definition.position));
        action->setToolTip(QString::fromLatin1(definition.tooltip));
        action->setEnabled(definition.enabledAtStart);
        buttons_[definition.position - 1] = action;
        if (QWidget* widget = widgetForAction(action)) {
            widget->setObjectName(QStringLiteral("Toolbar1_button%1").arg(definition.position));
            widget->setAccessibleName(action->toolTip());
            // Reachable with Tab, so that everything can be done from the keyboard.
            widget->setFocusPolicy(Qt::TabFocus);
        }
        const int position = definition.position;
        connect(action, &QAction::triggered, this,
                [this, position] { emit buttonClick(position); });
    }
}

QAction* MainToolbar::button(int position) const {
    if (position < 1 || position > PositionCount)
        return nullptr;
    return buttons_[position - 1];
}

QToolButton* MainToolbar::buttonWidget(int position) const {
    QAction* action = button(position);
    return action ? qobject_cast<QToolButton*>(widgetForAction(action)) : nullptr;
}

void MainToolbar::setConnectionImage(int index) {
    connectionImage_ = index;
    buttons_[0]->setIcon(toolbarImage(index));
}
