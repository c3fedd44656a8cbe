#pragma once

#include "InputPanel.h"
#include "MainToolbar.h"
#include "MainWindow.h"
#include "MessageTextBox.h"
#include "PhoneGrid.h"

#include <QComboBox>
#include <QGroupBox>
#include <QToolButton>

// The window's controls, found as a user's tools find them: by the names of
// the modem tools' forms.
template <typename Control> Control* control(const MainWindow& window, const QString& name) {
    return window.findChild<Control*>(name);
}
inline QComboBox* cmbSerial(const MainWindow& window) {
    return window.toolbar()->cmbSerial();
}
inline QGroupBox* frmMain(const MainWindow& window) {
    return control<QGroupBox>(window, "frmMain");
}
inline QGroupBox* frmNumbers(const MainWindow& window) {
    return control<QGroupBox>(window, "frmNumbers");
}
inline QToolButton* cmdSendInputs(const MainWindow& window) {
    return control<QToolButton>(window, "cmdSendInputs");
}
inline QToolButton* cmdSetNumbers(const MainWindow& window) {
    return control<QToolButton>(window, "cmdSetNumbers");
}
inline PhoneGrid* phoneGrid(const MainWindow& window) {
    return control<PhoneGrid>(window, "PhoneGrid");
}
inline InputPanel* inputPanel(const MainWindow& window, int input) {
    return control<InputPanel>(window, QStringLiteral("frmI%1").arg(input));
}
// Elements 1 to 3 are the Single boxes of inputs 1 to 3, 4 to 6 their Double boxes.
inline MessageTextBox* txtMessage(const MainWindow& window, int element) {
    return control<MessageTextBox>(window, QStringLiteral("txtMessage_%1").arg(element));
}
inline QComboBox* cmbMsec(const MainWindow& window, int element) {
    return control<QComboBox>(window, QStringLiteral("cmbMsec_%1").arg(element));
}
