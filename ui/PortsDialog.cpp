#include "PortsDialog.h"

#include "Images.h"
#include "PortAssignment.h"
#include "PortNames.h"
#include "WindowFont.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char* const noPortText = QT_TRANSLATE_NOOP(
    "PortsDialog",
    "No serial port was found. Check that the adapter is plugged in and its cable is sound, that "
    "its driver is loaded (lsusb lists a USB adapter; the system then makes /dev/ttyUSB0 or "
    "/dev/ttyACM0 for it), and what the system said when it was plugged in: sudo dmesg | tail.");

// A folder in the user's home as they would type it: "~/.config/tavek/ports".
QString shownFolder(const QString& folder) {
    const QString home = QDir::homePath();
    return folder.startsWith(home + u'/') ? u'~' + folder.mid(home.size()) : folder;
}

QString hex4(quint16 id) {
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

} // namespace

QString comNumbersText(const CatalogPort& port) {
    const QList<int> linked = linkedNumbers(port);
    QStringList texts;
    for (int n : port.comNumbers)
        texts << (linked.contains(n) ? QCoreApplication::translate("PortsDialog", "Com %1 (link)")
                                     : QCoreApplication::translate("PortsDialog", "Com %1 (list)"))
                     .arg(n);
    return texts.isEmpty() ? QCoreApplication::translate("PortsDialog", "none")
                           : texts.join(QCoreApplication::translate("PortsDialog", ", "));
}

QString usbIdText(const CatalogPort& port) {
    if (!port.vendorId && !port.productId)
        return {};
    return (port.vendorId ? hex4(*port.vendorId) : QStringLiteral("????")) + u':' +
           (port.productId ? hex4(*port.productId) : QStringLiteral("????"));
}

QString accessText(const CatalogPort& port, bool inUse) {
    if (inUse)
        return QCoreApplication::translate("PortsDialog", "connected");
    if (!port.present)
        return QCoreApplication::translate("PortsDialog", "missing");
    if (port.accessible)
        return QCoreApplication::translate("PortsDialog", "yes");
    return QCoreApplication::translate("PortsDialog", "no: not in group %1")
        .arg(port.group.isEmpty() ? QStringLiteral("dialout") : port.group);
}

PortsDialog::PortsDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("SerialPorts"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Serial ports"));
    setWindowIcon(productIcon());
    // The main window waits while numbers change; the traffic window stays usable.
    setWindowModality(Qt::WindowModal);
    setFont(windowFont());
    resize(980, 360);

    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("ports"));
    table_->setAccessibleName(tr("Serial ports"));
    table_->setHorizontalHeaderLabels({tr("Com"), tr("Device"), tr("Description"),
                                       tr("Manufacturer"), tr("Serial number"), tr("USB id"),
                                       tr("Stable name"), tr("Access")});
    table_->horizontalHeaderItem(StableNameColumn)
        ->setToolTip(tr("The name under /dev/serial/by-id that stays when the "
                        "adapter is plugged in elsewhere"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &PortsDialog::updateButtons);

    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("state"));
    state_->setWordWrap(true);
    advice_ = new QLabel(this);
    advice_->setObjectName(QStringLiteral("advice"));
    advice_->setWordWrap(true);
    advice_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    const auto addButton = [this](const QString& name, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    assign_ = addButton(QStringLiteral("assign"), tr("Assign Com number\u2026"));
    remove_ = addButton(QStringLiteral("remove"), tr("Remove"));
    remove_->setToolTip(tr("Removes the links in the ports folder that name the port"));
    refresh_ = addButton(QStringLiteral("refresh"), tr("Refresh"));
    auto* close = addButton(QStringLiteral("close"), tr("Close"));
    connect(assign_, &QPushButton::clicked, this, &PortsDialog::assignChosen);
    connect(remove_, &QPushButton::clicked, this, &PortsDialog::removeChosen);
    connect(refresh_, &QPushButton::clicked, this, &PortsDialog::refresh);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(assign_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    buttons->addWidget(refresh_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(advice_);
    layout->addWidget(state_);
    layout->addLayout(buttons);

    timer_ = new QTimer(this);
    timer_->setInterval(2000);
    connect(timer_, &QTimer::timeout, this, &PortsDialog::refresh);

    askComNumber = [this](const CatalogPort& port, int offered) -> std::optional<int> {
        bool ok = false;
        const int number = QInputDialog::getInt(this, tr("Assign Com number"),
                                                tr("The Com number for %1:").arg(linkTarget(port)),
                                                offered, 1, LastComNumber, 1, &ok);
        return ok ? std::optional<int>(number) : std::nullopt;
    };
    showError = [this](const QString& text) {
        QMessageBox::warning(this, tr("Serial ports"), text);
    };
}

void PortsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refresh();
    if (table_->currentRow() < 0 && table_->rowCount() > 0)
        table_->selectRow(0);
    timer_->start();
}

void PortsDialog::hideEvent(QHideEvent* event) {
    timer_->stop();
    QDialog::hideEvent(event);
}

void PortsDialog::refresh() {
    const CatalogPort* chosen = chosenPort();
    const QString chosenDevice = chosen ? chosen->device : QString();
    ports_ = catalog();
    inUse_ = deviceInUse();

    table_->setRowCount(int(ports_.size()));
    for (int row = 0; row < ports_.size(); ++row)
        fillRow(row, ports_[row], !inUse_.isEmpty() && ports_[row].device == inUse_);
    table_->resizeColumnsToContents();
    if (!chosenDevice.isEmpty())
        choose(chosenDevice);

    if (ports_.isEmpty())
        state_->setText(tr(noPortText));
    else if (!inUse_.isEmpty())
        state_->setText(tr("Connected to %1. Com numbers can be changed once you "
                           "have disconnected.")
                            .arg(inUse_));
    else
        state_->setText(tr("Choose a port and click \"Assign Com number\u2026\" to "
                           "give it a number that stays. The links are in %1.")
                            .arg(shownFolder(portsFolder())));
    updateButtons();
}

void PortsDialog::fillRow(int row, const CatalogPort& port, bool inUse) {
    const QString texts[ColumnCount] = {
        comNumbersText(port), port.present ? port.device : port.device + tr(" (missing)"),
        port.description,     port.manufacturer,
        port.serialNumber,    usbIdText(port),
        port.byIdPath,        accessText(port, inUse)};
    for (int column = 0; column < ColumnCount; ++column) {
        QTableWidgetItem* item = table_->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            table_->setItem(row, column, item);
        }
        item->setText(texts[column]);
        QFont font = table_->font();
        font.setBold(inUse);
        item->setFont(font);
    }
    table_->item(row, ComColumn)->setToolTip(port.linkPaths.join(u'\n'));
    table_->item(row, AccessColumn)->setToolTip(accessAdvice(port));
}

bool PortsDialog::choose(const QString& device) {
    for (int row = 0; row < ports_.size(); ++row) {
        if (ports_[row].device == device) {
            table_->selectRow(row);
            return true;
        }
    }
    return false;
}

const CatalogPort* PortsDialog::chosenPort() const {
    const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
    if (ranges.isEmpty())
        return nullptr;
    const int row = ranges.first().topRow();
    return row >= 0 && row < ports_.size() ? &ports_[row] : nullptr;
}

void PortsDialog::updateButtons() {
    const CatalogPort* port = chosenPort();
    const bool mayChange = inUse_.isEmpty();
    assign_->setEnabled(mayChange && port && port->present);
    remove_->setEnabled(mayChange && port && !port->linkPaths.isEmpty());

    QString advice;
    if (port && !port->present)
        advice = tr("%1 is not there: the link points at a device that is missing "
                    "(unplugged, or the program that made it has ended).")
                     .arg(port->device);
    else if (port)
        advice = accessAdvice(*port);
    advice_->setText(advice);
    advice_->setVisible(!advice.isEmpty());
}

void PortsDialog::assignChosen() {
    refresh(); // a connection or a port may have come meanwhile
    const CatalogPort* chosen = chosenPort();
    if (!chosen || !assign_->isEnabled())
        return;
    const CatalogPort port = *chosen;
    const std::optional<int> number = askComNumber(port, suggestedComNumber(port, ports_));
    if (!number)
        return;
    if (const auto error = assignComNumber(port, *number)) {
        showError(*error);
        return;
    }
    refresh();
    linksChanged();
}

void PortsDialog::removeChosen() {
    refresh();
    const CatalogPort* chosen = chosenPort();
    if (!chosen || !remove_->isEnabled())
        return;
    if (const auto error = removeComLinks(linkedNumbers(*chosen))) {
        showError(*error);
        return;
    }
    refresh();
    linksChanged();
}
