#pragma once

#include "ConfigurationModel.h"
#include "Dialogs.h"
#include "FileDialogs.h"
#include "LinkEnvironment.h"
#include "ModemConnection.h"
#include "ModemSession.h"
#include "SessionFace.h"
#include "StatusLine.h"
#include "TrafficRecorder.h"
#include "WindowSettings.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class AboutWindow;
class ConfigurationBinding;
class InputPanel;
class MainToolbar;
class PhoneGrid;
class PortsDialog;
class QComboBox;
class QGroupBox;
class QLabel;
class QScrollArea;
class QToolButton;
class TrafficWindow;

// "Main", the program's one working window. It composes: it builds the
// widgets, keeps them showing the configuration model, runs what the toolbar
// and the "Set" buttons ask through the session, and shows the session's
// state as the face of it. The use cases themselves live in ModemSession.
// Controls carry the names of the modem tools' forms as objectNames.
class MainWindow : public QWidget, public SessionFace {
    Q_OBJECT
public:
    // The connection runs on the system's clock and serial ports unless the
    // environment says otherwise (the line simulation's).
    explicit MainWindow(QWidget* parent = nullptr, const LinkEnvironment& environment = {});
    ~MainWindow() override;

    // The size the forms lay the window out at; it opens so, unless it was
    // left at another size or the screen has less room.
    QSize sizeHint() const override;
    // Toolbar and status line stay in view; the frames between them scroll
    // when the window is smaller than its layout.
    QScrollArea* scrollArea() const { return scrollArea_; }

    MainToolbar* toolbar() const { return toolbar_; }
    QLabel* statusLine() const { return statusBar_->statusPanel(); }
    ModemConnection& connection() { return connection_; }
    ModemSession& session() { return session_; }
    ConfigurationModel& model() { return model_; }
    // The traffic on the line since the start, and its windows while open.
    TrafficRecorder& trafficRecorder() { return traffic_; }
    // Writes the traffic to this file as well ("tavek --log FILE").
    void setTrafficLog(std::unique_ptr<TrafficLogFile> log);

    // The modal boxes and the desktop's open operation, replaceable by tests.
    Dialogs& dialogs() { return dialogs_; }
    FileDialogs& fileDialogs() { return fileDialogs_; }
    std::function<void(const QUrl&)> openLink;

    // The window's starting state, also after every disconnect: "Modem
    // Disconnected", port 1 chosen, the grid's headings, the clock. (The
    // configuration shown goes back to its start with the model.)
    void initMainWindow();

    // SessionFace
    void setStatusText(const QString& text) override;
    void showModemError(const QString& text) override;
    bool cancelled() const override { return closing_; }
    void showLinkState(LinkState state) override;
    void setControlsEnabled(bool enabled) override;
    bool confirm(const Question& question) override;
    bool warn(Warning warning, const QString& text) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildContent();
    void buildModemSettings();
    void buildPhoneNumbers();
    void addQuitCommand();
    // Within the available area of a screen, where it was left if that is on
    // a screen now (WindowPlacement.h).
    void placeOnScreen();
    QToolButton* addSetButton(QWidget* frame, const QString& name, const QString& toolTip,
                              QRect place);
    void setFramesEnabled(bool enabled);
    // Entry p (from 0) of the port selector stands for "Com p+1".
    void selectPort(int position);

    // The toolbar's commands: a modem command runs through the session,
    // the window's own here (WindowCommands.cpp and the files it names).
    void runCommand(const QString& id);
    void connectOrDisconnect();
    void showAbout();
    void openConfiguration();
    void saveConfiguration();
    void showModemTraffic();
    void showSerialPorts();
    void portLinksChanged();

    // Before the connection: its port reports its close while it is destroyed.
    TrafficRecorder traffic_;
    ModemConnection connection_;
    ConfigurationModel model_;
    ModemSession session_{connection_, model_, *this};
    Dialogs dialogs_;
    FileDialogs fileDialogs_ = FileDialogs::forWindow(this);
    bool closing_ = false;
    bool placed_ = false;
    WindowSettings remembered_ = loadWindowSettings();
    // The "Com N" the user chose last, or the remembered one; 0 for none.
    int chosenComPort_ = 0;

    MainToolbar* toolbar_ = nullptr;
    QScrollArea* scrollArea_ = nullptr;
    QWidget* content_ = nullptr;
    StatusLine* statusBar_ = nullptr;
    QGroupBox* frmMain_ = nullptr;
    QGroupBox* frmNumbers_ = nullptr;
    std::array<InputPanel*, 3> panels_{};
    PhoneGrid* phoneGrid_ = nullptr;
    QToolButton* cmdSendInputs_ = nullptr;
    ConfigurationBinding* binding_ = nullptr;
    QPointer<AboutWindow> about_;
    QPointer<TrafficWindow> trafficWindow_;
    QPointer<PortsDialog> portsDialog_;
};
