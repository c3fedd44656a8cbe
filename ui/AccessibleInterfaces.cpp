#include "AccessibleInterfaces.h"

#include "ComboBoxAccessible.h"
#include "PhoneGrid.h"
#include "PhoneGridAccessible.h"
#include "ToolButtonAccessible.h"

#include <QAccessible>
#include <QComboBox>
#include <QToolBar>
#include <QToolButton>

namespace {
// Qt asks with each class name of the object, its own first, before its own
// factories. The two windows are plain widgets, which Qt offers as fillers.
QAccessibleInterface* ownInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("MainWindow"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == QLatin1String("AboutWindow"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Dialog);
    if (className == QLatin1String("PhoneGrid"))
        return new PhoneGridAccessible(static_cast<PhoneGrid*>(object));
    if (className == QLatin1String("QComboBox")) {
        auto* box = static_cast<QComboBox*>(object);
        if (!box->isEditable())
            return new ComboBoxAccessible(box);
    }
    // A toolbar's buttons, whose keys are their commands'. (Not its
    // extension button, a tool button of another kind, which opens a menu.)
    if (object->metaObject() == &QToolButton::staticMetaObject &&
        qobject_cast<QToolBar*>(object->parent()))
        return new ToolButtonAccessible(static_cast<QToolButton*>(object));
    return nullptr;
}
} // namespace

void installAccessibleInterfaces() {
    // Qt keeps each factory once, however often it is installed.
    QAccessible::installFactory(ownInterface);
}
