#include "MainWindow.h"

#include "AboutWindow.h"
#include "AccessibleInterfaces.h"
#include "Images.h"
#include "InitMainWindow.h"
#include "InputPanel.h"
#include "KeyboardOrder.h"
#include "MainToolbar.h"
#include "MessageTextBox.h"
#include "PhoneGrid.h"
#include "PortErrors.h"
#include "StatusClock.h"
#include "Twips.h"
#include "WindowFont.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

MainWindow::MainWindow(QWidget* parent, const LinkEnvironment& environment)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      connection_(environment) {
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Tavek"));
    setWindowIcon(productIcon());
    setFixedSize(twips(14640), twips(8910));
    setFont(windowFont());

    connection_.traffic().add(&traffic_);
    // The device is held open while connected: one that goes away between
    // commands ends the connection at once. (A command running meanwhile
    // finds out itself and says so.)
    connection_.port().setLostHandler([this] {
        QTimer::singleShot(0, this, [this] {
            if (connection_.busy() || !connection_.ModemConnected || closing_)
                return;
            const auto failure = connection_.port().failure();
            PortError lost = failure.value_or(PortError{});
            lost.device = connection_.connectedDevice();
            lost.lost = true;
            showModemError(portErrorMessage(lost));
            enterLostState();
        });
    });
    dialogs_ = Dialogs::forWindow(this);
    openLink = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    toolbar_ = new MainToolbar(this);
    toolbar_->setGeometry(twipsRect(0, 0, 14640, 660));
    connect(toolbar_, &MainToolbar::triggered, this, &MainWindow::run);
    // The port selector's handler: entry p (from 0) stands for "Com p+1".
    connect(cmbSerial(), &QComboBox::currentIndexChanged, this, [this](int position) {
        // Emptying the list is no choice of the user's.
        if (position >= 0)
            connection_.setCommPortNumber(qint16(position + 1));
    });

    buildModemSettings();
    buildPhoneNumbers();
    buildStatusBar();
    setKeyboardOrder(*this);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this,
            [this] { clockPanel_->setText(clockText(QDateTime::currentDateTime())); });
    timer1_->start();

    // The load handler.
    InitMainWindow(*this);
}

MainWindow::~MainWindow() {
    // They watch members that go before the window's children do.
    delete trafficWindow_;
    delete portsDialog_;
}

void MainWindow::buildModemSettings() {
    frmMain_ = new QGroupBox(QStringLiteral(" Modem Settings "), this);
    frmMain_->setObjectName(QStringLiteral("frmMain"));
    frmMain_->setGeometry(twipsRect(120, 720, 10815, 7815));
    frmMain_->setEnabled(false);

    const std::array<int, 3> lefts = {120, 3720, 7440};
    for (int input = 1; input <= InputCount; ++input) {
        auto* panel = new InputPanel(input, frmMain_);
        panel->setGeometry(twipsRect(lefts[input - 1], 240, 3255, 6495));
        panels_[input - 1] = panel;
    }
    cmdSendInputs_ = addSetButton(frmMain_, QStringLiteral("cmdSendInputs"),
                                  QStringLiteral("Send Input configuration to modem"),
                                  twipsRect(9840, 6840, 855, 855));
    connect(cmdSendInputs_, &QToolButton::clicked, this, &MainWindow::sendInputsClicked);
}

void MainWindow::buildPhoneNumbers() {
    frmNumbers_ = new QGroupBox(QStringLiteral(" Phone Numbers "), this);
    frmNumbers_->setObjectName(QStringLiteral("frmNumbers"));
    frmNumbers_->setGeometry(twipsRect(11040, 720, 3495, 7815));
    frmNumbers_->setEnabled(false);

    phoneGrid_ = new PhoneGrid(frmNumbers_);
    phoneGrid_->setObjectName(QStringLiteral("PhoneGrid"));
    phoneGrid_->setAccessibleName(QStringLiteral("Phone Numbers"));
    phoneGrid_->setGeometry(twipsRect(120, 480, 3015, 5295));

    auto* explanation = new QLabel(
        QStringLiteral("The number must be inserted without \"00\" in the prefix but with \"+\" "
                       "and with no spaces."),
        frmNumbers_);
    explanation->setObjectName(QStringLiteral("lblNoExplanation"));
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    explanation->setGeometry(twipsRect(120, 5760, 3375, 495));

    auto* example = new QLabel(QStringLiteral("Ex: +393351234567"), frmNumbers_);
    example->setObjectName(QStringLiteral("Label1"));
    QFont bold = example->font();
    bold.setBold(true);
    example->setFont(bold);
    example->setGeometry(twipsRect(120, 6240, 3255, 255));

    cmdSetNumbers_ = addSetButton(frmNumbers_, QStringLiteral("cmdSetNumbers"),
                                  QStringLiteral("Send phone numbers to modem"),
                                  twipsRect(2400, 6840, 855, 855));
    connect(cmdSetNumbers_, &QToolButton::clicked, this, &MainWindow::setNumbersClicked);
}

QToolButton* MainWindow::addSetButton(QWidget* frame, const QString& name, const QString& tooltip,
                                      QRect place) {
    auto* button = new QToolButton(frame);
    button->setObjectName(name);
    button->setText(QStringLiteral("Set"));
    button->setToolTip(tooltip);
    button->setIcon(setButtonIcon());
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(place);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAccessibleName(QStringLiteral("Set"));
    button->setAccessibleDescription(tooltip);
    return button;
}

void MainWindow::buildStatusBar() {
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setGeometry(twipsRect(0, 8535, 14640, 375));

    statusLine_ = new QLabel(statusBar_);
    statusLine_->setObjectName(QStringLiteral("StatusBar1_panel1"));
    statusLine_->setFixedWidth(twips(10600));
    // A screen reader reads the panels' text as their names, and hears of
    // each new status as a name change; what they are is their description.
    statusLine_->setAccessibleDescription(QStringLiteral("Status"));
    clockPanel_ = new QLabel(statusBar_);
    clockPanel_->setObjectName(QStringLiteral("StatusBar1_panel2"));
    clockPanel_->setFixedWidth(twips(3900));
    clockPanel_->setAccessibleDescription(QStringLiteral("Date and time"));
    for (QLabel* panel : {statusLine_, clockPanel_}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar_->addWidget(panel);
    }
}

QComboBox* MainWindow::cmbSerial() const {
    return toolbar_->cmbSerial();
}

MessageTextBox* MainWindow::txtMessage(int element) const {
    // Elements 1 to 3 are the Single boxes of inputs 1 to 3, 4 to 6 their Double boxes.
    if (element >= 1 && element <= InputCount)
        return inputPanel(element)->singleBox();
    if (element > InputCount && element <= 2 * InputCount)
        return inputPanel(element - InputCount)->doubleBox();
    return nullptr;
}

QComboBox* MainWindow::cmbMsec(int element) const {
    return inputPanel(element)->cmbMsec();
}

void MainWindow::selectPort(int position) {
    {
        const QSignalBlocker quiet(cmbSerial());
        cmbSerial()->setCurrentIndex(position);
    }
    connection_.setCommPortNumber(qint16(position + 1));
}

void MainWindow::setStatusText(const QString& text) {
    statusLine_->setText(text);
}

void MainWindow::setFramesEnabled(bool enabled) {
    frmMain_->setEnabled(enabled);
    frmNumbers_->setEnabled(enabled);
}

void MainWindow::showModemError(const QString& text) {
    dialogs_.modemError(text);
}

InputConfig MainWindow::inputConfig(int input) const {
    return inputPanel(input)->config();
}

void MainWindow::setInputConfig(int input, const InputConfig& config) {
    inputPanel(input)->setConfig(config);
}

QString MainWindow::phoneNumber(int position) const {
    return phoneGrid_->cellText(position, PhoneGrid::NumberColumn);
}

void MainWindow::setPhoneNumber(int position, const QString& number) {
    if (position >= 1 && position <= PhoneBookSize)
        phoneGrid_->setCellText(position, PhoneGrid::NumberColumn, number);
}

void MainWindow::setControlsEnabled(bool enabled) {
    toolbar_->setEnabled(enabled);
    setFramesEnabled(enabled);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, its other windows with it. An
    // operation that is running stops before its next command and lets the
    // port go: nothing more reaches the modem once the window is gone.
    closing_ = true;
    connection_.port().close();
    if (about_)
        about_->close();
    if (trafficWindow_)
        trafficWindow_->close();
    if (portsDialog_)
        portsDialog_->close();
    QWidget::closeEvent(event);
}
