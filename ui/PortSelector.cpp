#include "PortSelector.h"

#include "ModemConnection.h"
#include "PortNames.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>

void fillPortSelector(QComboBox& selector, ModemConnection& connection) {
    const QStringList listed = connection.listSystemPorts();
    const QMap<int, QString> links = linkedDevices();
    connection.setPortListing(listed);

    // Emptying and filling the list is not a choice of the user's; the caller
    // selects the entry it wants and runs the selection handler itself.
    const QSignalBlocker quiet(selector);
    selector.clear();
    for (int number = 1; number <= PortSelectorEntries; ++number) {
        const QString device = deviceForComPort(number, listed, links);
        selector.addItem(QCoreApplication::translate("PortSelector", "Com ") +
                         QString::number(number));
        selector.setItemData(number - 1,
                             device.isEmpty() ? QCoreApplication::translate(
                                                    "PortSelector", "No serial port is there")
                                              : device,
                             Qt::ToolTipRole);
    }
}
