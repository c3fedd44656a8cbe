#include "InitMainWindow.h"

#include "InputPanel.h"
#include "MainWindow.h"
#include "MessageTextBox.h"
#include "PhoneGrid.h"
#include "PortSelector.h"
#include "StatusClock.h"
#include "Twips.h"

#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QRadioButton>

// The steps keep the order the modem tools always had. It shows only in the
// port selection handler of step 8, which runs while the grid and the
// message boxes still hold what they held before.
void InitMainWindow(MainWindow& main) {
    main.connection().ModemConnected = false;
    main.setStatusText(QStringLiteral("Modem Disconnected"));

    for (int input = 1; input <= InputCount; ++input)
        main.cmbMsec(input)->setCurrentIndex(0);
    for (int input = 1; input <= InputCount; ++input)
        main.inputPanel(input)->optActive(1)->setChecked(true);
    for (int input = 1; input <= InputCount; ++input)
        main.inputPanel(input)->optPort(0)->setChecked(true);
    for (int input = 1; input <= InputCount; ++input)
        main.inputPanel(input)->optBit(0)->setChecked(true);

    fillPortSelector(*main.cmbSerial(), main.connection());
    main.selectPort(0);

    PhoneGrid& grid = *main.phoneGrid();
    grid.setCellText(0, 0, QStringLiteral("Pos."));
    grid.setCellText(0, PhoneGrid::NumberColumn, QStringLiteral("Phone Number"));
    grid.setGeneralAlignment(PhoneGrid::NumberColumn);
    grid.setColumnWidth(0, twips(500));
    grid.setColumnWidth(PhoneGrid::NumberColumn, twips(2500));
    for (int row = 1; row <= PhoneBookSize; ++row) {
        grid.setCellText(row, 0, QString::number(row));
        grid.setCellText(row, PhoneGrid::NumberColumn, QString());
    }

    for (int element = 1; element <= 2 * InputCount; ++element) {
        MessageTextBox& box = *main.txtMessage(element);
        box.setText(PlaceholderText);
        box.setInPlaceholderColour(true);
    }

    main.clockPanel()->setText(clockText(QDateTime::currentDateTime()));
}
