// Opens "Com 1" as an ordinary user and prints what the user would be told.
// The link tests run it as a child: root ignores file permissions, so the
// permission-denied path can only be seen from an unprivileged process.
#include "ModemLink.h"
#include "SerialPort.h"

#include <QCoreApplication>
#include <QTextStream>

#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (::getuid() == 0) {
        const uid_t nobody = 65534;
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
            return 2;
    }
    SerialPort port;
    port.setPortNumber(1);
    const auto error = port.open();
    QTextStream out(stdout);
    if (!error) {
        out << "opened\n";
        return 0;
    }
    out << error->number << '\n' << portErrorMessage(*error) << '\n';
    return 1;
}
