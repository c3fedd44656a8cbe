#pragma once

#include "PortCatalog.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

// "Serial ports": every port a user may mean (PortCatalog.h), with what is
// known of it and the "Com N" it is now, and the way to give it a fixed
// number: a link in the ports folder, made or removed here. It looks again
// when opened, on "Refresh" and every 2 s, so a plugged-in adapter appears.
// Numbers change only while no modem is connected.
class PortsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PortsDialog(QWidget* owner);

    enum Column {
        ComColumn,
        DeviceColumn,
        DescriptionColumn,
        ManufacturerColumn,
        SerialNumberColumn,
        UsbIdColumn,
        StableNameColumn,
        AccessColumn,
        ColumnCount
    };

    // Where the ports come from: the system's, unless a test gives its own.
    std::function<QList<CatalogPort>()> catalog = [] { return portCatalog(); };
    // The device of the connection, empty while none.
    std::function<QString()> deviceInUse = [] { return QString(); };
    // Asks which number to give the port, offering one; none when cancelled.
    std::function<std::optional<int>(const CatalogPort& port, int offered)> askComNumber;
    // Says plainly why a change could not be made.
    std::function<void(const QString& text)> showError;
    // After a link was made or removed.
    std::function<void()> linksChanged = [] {};

    QTableWidget* table() const { return table_; }
    QPushButton* assignButton() const { return assign_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* refreshButton() const { return refresh_; }
    // What the dialog says above the buttons: no port, the port in use.
    QLabel* stateLabel() const { return state_; }
    QTimer* refreshTimer() const { return timer_; }
    // The ports shown, in the order of the rows.
    const QList<CatalogPort>& ports() const { return ports_; }

    // Takes the ports anew, keeping the chosen one chosen.
    void refresh();
    // Chooses the row of a device; false when none shows it.
    bool choose(const QString& device);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void fillRow(int row, const CatalogPort& port, bool inUse);
    const CatalogPort* chosenPort() const;
    void updateButtons();
    void assignChosen();
    void removeChosen();

    QList<CatalogPort> ports_;
    QString inUse_;
    QTableWidget* table_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* advice_ = nullptr;
    QPushButton* assign_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QTimer* timer_ = nullptr;
};

// What the "Com" column says of a port: each number it has, and how (the
// link comN, or its place in the system's list); "none" when it has none.
QString comNumbersText(const CatalogPort& port);
// The "USB id" column: vendor and product in hex, "0403:6001".
QString usbIdText(const CatalogPort& port);
// The "Access" column.
QString accessText(const CatalogPort& port, bool inUse);
