#include "PortErrors.h"

#include <cerrno>
#include <cstring>

namespace {

// Qt's own text for a lock file held by another process, and the system's
// text for EBUSY (Qt passes strerror through, in the same locale).
bool saysPortHeld(const QString& errorText) {
    return errorText.contains(QLatin1String("lock"), Qt::CaseInsensitive) ||
           errorText == QString::fromLocal8Bit(std::strerror(EBUSY));
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

QString portErrorMessage(const PortError& error) {
    if (error.number == PortNotValidError)
        return QStringLiteral("Serial port not valid");
    if (error.number == PortInUseError)
        return QStringLiteral("Modem already in use");
    const QString device =
        error.device.isEmpty() ? QStringLiteral("the serial port") : error.device;
    // Whatever the system said last about a vanished device ("Inappropriate
    // ioctl", "Resource temporarily unavailable") would only mislead.
    if (error.lost)
        return error.device.isEmpty()
                   ? QStringLiteral("The serial port was lost (was the adapter unplugged?)")
                   : QStringLiteral("The serial port %1 was lost (was the adapter unplugged?)")
                         .arg(error.device);
    QString text = QStringLiteral("Cannot open %1: %2").arg(device, error.reason);
    if (error.accessDenied)
        text += QStringLiteral("\n\nTo get access, add your user to the group that owns the port "
                               "(usually dialout: sudo usermod -aG dialout $USER), then log out "
                               "and in again.");
    return text;
}
