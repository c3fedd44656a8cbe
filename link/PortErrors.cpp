#include "PortErrors.h"

#include <QCoreApplication>
#include <QStringList>

#include <cerrno>
#include <cstring>

namespace {

// Qt's own text for a lock file held by another process, and the system's
// text for EBUSY (Qt passes strerror through, in the same locale).
bool saysPortHeld(const QString& errorText) {
    return errorText.contains(QLatin1String("lock"), Qt::CaseInsensitive) ||
           errorText == QString::fromLocal8Bit(std::strerror(EBUSY));
}

QString assignHint(const PortHints& hints) {
    if (!hints.assignNumber.isEmpty())
        return hints.assignNumber;
    return QCoreApplication::translate(
        "PortErrors", "To give your adapter a Com number, click \"Serial ports\" on the toolbar, "
                      "choose the adapter and click \"Assign Com number\u2026\".");
}

QString notValidMessage(const PortError& error, const PortHints& hints) {
    QStringList lines{QCoreApplication::translate("PortErrors", "Serial port not valid")};
    if (error.comNumber > 0 && error.device.isEmpty())
        lines << QCoreApplication::translate(
                     "PortErrors", "Com %1 names no serial port: the system lists fewer ports, and "
                                   "no link com%1 is in the ports folder.")
                     .arg(error.comNumber);
    else if (error.comNumber > 0)
        lines << QCoreApplication::translate(
                     "PortErrors", "Com %1 was looked for at %2, and no such device is there.")
                     .arg(error.comNumber)
                     .arg(error.device);
    else if (!error.device.isEmpty())
        lines << QCoreApplication::translate("PortErrors", "%1 is not there any more.")
                     .arg(error.device);
    if (error.comNumber > 0)
        lines << assignHint(hints);
    return lines.join(u'\n');
}

} // namespace

PortError classifyOpenFailure(QSerialPort::SerialPortError error, const QString& errorText,
                              const QString& device) {
    PortError result;
    result.device = device;
    result.reason = errorText;
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        result.number = PortNotValidError;
        break;
    case QSerialPort::PermissionError:
        if (saysPortHeld(errorText))
            result.number = PortInUseError;
        else
            result.accessDenied = true;
        break;
    case QSerialPort::OpenError: // this very object holds the port already
        result.number = PortInUseError;
        break;
    default:
        break;
    }
    return result;
}

bool isPortLost(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return true;
    default:
        return false;
    }
}

QString portErrorMessage(const PortError& error, const PortHints& hints) {
    if (error.number == PortNotValidError)
        return notValidMessage(error, hints);
    if (error.number == PortInUseError)
        return QCoreApplication::translate("PortErrors", "Modem already in use");
    const QString device = error.device.isEmpty()
                               ? QCoreApplication::translate("PortErrors", "the serial port")
                               : error.device;
    // Whatever the system said last about a vanished device ("Inappropriate
    // ioctl", "Resource temporarily unavailable") would only mislead.
    if (error.lost)
        return error.device.isEmpty()
                   ? QCoreApplication::translate(
                         "PortErrors", "The serial port was lost (was the adapter unplugged?)")
                   : QCoreApplication::translate(
                         "PortErrors", "The serial port %1 was lost (was the adapter unplugged?)")
                         .arg(error.device);
    QString text =
        QCoreApplication::translate("PortErrors", "Cannot open %1: %2").arg(device, error.reason);
    if (error.accessDenied)
        text += QCoreApplication::translate(
            "PortErrors", "\n\nTo get access, add your user to the group that owns the port "
                          "(usually dialout: sudo usermod -aG dialout $USER), then log out "
                          "and in again.");
    return text;
}

QString noAnswerMessage(const QString& device, int comNumber, const PortHints& hints) {
    const QString port = comNumber > 0
                             ? QCoreApplication::translate("PortErrors", "Com %1").arg(comNumber)
                             : QCoreApplication::translate("PortErrors", "the port");
    const QString findPorts =
        hints.findPorts.isEmpty()
            ? QCoreApplication::translate(
                  "PortErrors", "\"Serial ports\" on the toolbar shows the device behind each Com "
                                "number.")
            : hints.findPorts;
    return QStringList{
        QCoreApplication::translate("PortErrors", "Modem not connected"),
        QCoreApplication::translate("PortErrors", "No answer to AT came from %1 (%2). Check:")
            .arg(device.isEmpty() ? QCoreApplication::translate("PortErrors", "the serial port")
                                  : device)
            .arg(port),
        QCoreApplication::translate("PortErrors", "- that the modem is switched on;"),
        QCoreApplication::translate("PortErrors", "- that its cable is plugged in at both ends;"),
        QCoreApplication::translate("PortErrors", "- that %1 is the modem's port: %2")
            .arg(port, findPorts)}
        .join(u'\n');
}
