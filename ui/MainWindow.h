#pragma once

#include "AboutWindow.h"
#include "ConfigView.h"
#include "Dialogs.h"
#include "FileDialogs.h"
#include "MainToolbar.h"
#include "ModemConnection.h"
#include "OperationRunner.h"
#include "PortsDialog.h"
#include "TrafficRecorder.h"
#include "TrafficWindow.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QStatusBar;
class QTimer;
class QToolButton;
class InputPanel;
class MessageTextBox;
class PhoneGrid;

// "Main", the program's one working window. Its controls are the only store
// of the modem's configuration: the modem operations read what they send
// from them and put what they read into them, through the ConfigView seam.
// It owns the one connection to the modem. Controls carry the names of the
// modem tools' forms as objectNames; the elements of a control array are
// reached by their element numbers.
class MainWindow : public QWidget, public ConfigView {
    Q_OBJECT
public:
    // The connection runs on the system's clock and serial ports unless the
    // environment says otherwise (the line simulation's).
    explicit MainWindow(QWidget* parent = nullptr, const LinkEnvironment& environment = {});
    ~MainWindow() override;

    // The controls.
    MainToolbar* toolbar() const { return toolbar_; }
    QComboBox* cmbSerial() const;
    QStatusBar* statusBar() const { return statusBar_; }
    QLabel* statusLine() const { return statusLine_; }
    QLabel* clockPanel() const { return clockPanel_; }
    QTimer* timer1() const { return timer1_; }
    QGroupBox* frmMain() const { return frmMain_; }
    QGroupBox* frmNumbers() const { return frmNumbers_; }
    InputPanel* inputPanel(int input) const { return panels_.at(input - 1); }
    MessageTextBox* txtMessage(int element) const; // 1 to 6
    QComboBox* cmbMsec(int element) const;         // 1 to 3
    PhoneGrid* phoneGrid() const { return phoneGrid_; }
    QToolButton* cmdSendInputs() const { return cmdSendInputs_; }
    QToolButton* cmdSetNumbers() const { return cmdSetNumbers_; }
    AboutWindow* aboutWindow() const { return about_; }
    ModemConnection& connection() { return connection_; }
    // The traffic on the line since the start, and its windows while open.
    TrafficRecorder& trafficRecorder() { return traffic_; }
    TrafficWindow* trafficWindow() const { return trafficWindow_; }
    PortsDialog* portsDialog() const { return portsDialog_; }
    // Writes the traffic to this file as well ("tavek --log FILE"). When it
    // cannot be written any more, the status bar says so for a while (over
    // the status and clock panels) and standard error says so too.
    void setTrafficLog(std::unique_ptr<TrafficLogFile> log);

    // The modal boxes and the desktop's open operation, replaceable by tests.
    Dialogs& dialogs() { return dialogs_; }
    std::function<void(const QUrl&)> openLink;
    // The dialogs of the configuration files, replaceable by tests.
    FileDialogs& fileDialogs() { return fileDialogs_; }

    // Selects an entry of the port selector and runs the selection handler.
    void selectPort(int position);

    // The toolbar's commands.
    void run(ToolbarCommand command);
    // The toolbar's one click handler by position, 1 to 7 (2 is the gap).
    void toolbarButtonClick(int position);
    // True while a modem command runs; other modem commands are ignored meanwhile.
    bool commandRunning() const { return connection_.busy(); }

    // Whether the last read of a frame did not come back whole; a "Set" of
    // that frame asks first.
    bool inputsReadIncomplete() const { return inputsReadIncomplete_; }
    bool phoneBookReadIncomplete() const { return phoneBookReadIncomplete_; }

    // ConfigView
    void setStatusText(const QString& text) override;
    void setFramesEnabled(bool enabled) override;
    void setControlsEnabled(bool enabled) override;
    void showModemError(const QString& text) override;
    bool cancelled() const override { return closing_; }
    InputConfig inputConfig(int input) const override;
    void setInputConfig(int input, const InputConfig& config) override;
    QString phoneNumber(int position) const override;
    void setPhoneNumber(int position, const QString& number) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildModemSettings();
    void buildPhoneNumbers();
    void buildStatusBar();
    QToolButton* addSetButton(QWidget* frame, const QString& name, const QString& tooltip,
                              QRect place);

    // Toolbar commands.
    void connectOrDisconnect();
    void connectToModem();
    void disconnectFromModem();
    void resetModem();
    void setDefaultSettings();
    void switchRelay(const QString& command);
    void showAbout();
    // Open and Save configuration (ConfigurationFileCommands.cpp).
    void openConfiguration();
    void saveConfiguration();
    void showModemTraffic();
    void showSerialPorts();
    // A link in the ports folder was made or removed: the selector's numbers follow at once.
    void portLinksChanged();
    // The "Set" buttons.
    void sendInputsClicked();
    void setNumbersClicked();
    // After an operation: a lost port puts the window back to not connected,
    // steps the modem did not confirm are listed in one box. True when the
    // operation ran to its end.
    bool afterOperation(const OperationResult& result, const QString& unconfirmedText);
    // The device went away: not connected, but the window keeps what it shows.
    void enterLostState();

    // Before the connection: its port reports its close while it is destroyed.
    TrafficRecorder traffic_;
    ModemConnection connection_;
    Dialogs dialogs_;
    FileDialogs fileDialogs_ = FileDialogs::forWindow(this);
    bool closing_ = false;
    bool centred_ = false;
    bool inputsReadIncomplete_ = false;
    bool phoneBookReadIncomplete_ = false;
    bool showsLostConnection_ = false; // what a lost connection left is still shown

    MainToolbar* toolbar_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QLabel* clockPanel_ = nullptr;
    QTimer* timer1_ = nullptr;
    QGroupBox* frmMain_ = nullptr;
    QGroupBox* frmNumbers_ = nullptr;
    std::array<InputPanel*, 3> panels_{};
    PhoneGrid* phoneGrid_ = nullptr;
    QToolButton* cmdSendInputs_ = nullptr;
    QToolButton* cmdSetNumbers_ = nullptr;
    QPointer<AboutWindow> about_;
    QPointer<TrafficWindow> trafficWindow_;
    QPointer<PortsDialog> portsDialog_;
};
