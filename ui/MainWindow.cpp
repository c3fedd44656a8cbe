#include "MainWindow.h"

#include "AboutWindow.h"
#include "AccessibleInterfaces.h"
#include "ConfigurationBinding.h"
#include "Images.h"
#include "InputPanel.h"
#include "KeyboardOrder.h"
#include "MainToolbar.h"
#include "PhoneGrid.h"
#include "PortSelector.h"
#include "PortsDialog.h"
#include "StandardKeys.h"
#include "StatusClock.h"
#include "TrafficWindow.h"
#include "Twips.h"
#include "WindowFont.h"

#include <QAction>
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
    connection_.port().setLostHandler(
        [this] { QTimer::singleShot(0, this, [this] { session_.deviceLost(); }); });
    dialogs_ = Dialogs::forWindow(this);
    openLink = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    toolbar_ = new MainToolbar(this);
    toolbar_->setGeometry(twipsRect(0, 0, 14640, 660));
    connect(toolbar_, &MainToolbar::triggered, this, &MainWindow::runCommand);
    // The port selector's handler: entry p (from 0) stands for "Com p+1".
    connect(toolbar_->cmbSerial(), &QComboBox::currentIndexChanged, this, [this](int position) {
        // Emptying the list is no choice of the user's.
        if (position >= 0)
            connection_.setCommPortNumber(qint16(position + 1));
    });

    buildModemSettings();
    buildPhoneNumbers();
    buildStatusBar();
    binding_ = new ConfigurationBinding(model_, panels_, *phoneGrid_, this);
    QList<QWidget*> order{toolbar_};
    order << QList<QWidget*>(panels_.begin(), panels_.end()) << cmdSendInputs_ << frmNumbers_;
    setKeyboardOrder(order);

    auto* clock = new QTimer(this);
    clock->setObjectName(QStringLiteral("Timer1"));
    clock->setInterval(1000);
    connect(clock, &QTimer::timeout, this,
            [this] { clockPanel_->setText(clockText(QDateTime::currentDateTime())); });
    clock->start();

    addQuitCommand();

    // The load handler.
    initMainWindow();
}

MainWindow::~MainWindow() {
    // They watch members that go before the window's children do.
    delete trafficWindow_;
    delete portsDialog_;
}

void MainWindow::buildModemSettings() {
    frmMain_ = new QGroupBox(tr(" Modem Settings "), this);
    frmMain_->setObjectName(QStringLiteral("frmMain"));
    frmMain_->setGeometry(twipsRect(120, 720, 10815, 7815));
    frmMain_->setEnabled(false);

    const std::array<int, 3> lefts = {120, 3720, 7440};
    for (int input = 1; input <= InputCount; ++input) {
        auto* panel = new InputPanel(input, frmMain_);
        panel->setGeometry(twipsRect(lefts[input - 1], 240, 3255, 6495));
        panels_[input - 1] = panel;
    }
    cmdSendInputs_ =
        addSetButton(frmMain_, QStringLiteral("cmdSendInputs"),
                     tr("Send Input configuration to modem"), twipsRect(9840, 6840, 855, 855));
    connect(cmdSendInputs_, &QToolButton::clicked, this, [this] { session_.sendInputs(); });
}

void MainWindow::buildPhoneNumbers() {
    frmNumbers_ = new QGroupBox(tr(" Phone Numbers "), this);
    frmNumbers_->setObjectName(QStringLiteral("frmNumbers"));
    frmNumbers_->setGeometry(twipsRect(11040, 720, 3495, 7815));
    frmNumbers_->setEnabled(false);

    phoneGrid_ = new PhoneGrid(frmNumbers_);
    phoneGrid_->setObjectName(QStringLiteral("PhoneGrid"));
    phoneGrid_->setAccessibleName(tr("Phone Numbers"));
    phoneGrid_->setGeometry(twipsRect(120, 480, 3015, 5295));

    auto* explanation = new QLabel(tr("The number must be inserted without \"00\" in the prefix "
                                      "but with \"+\" and with no spaces."),
                                   frmNumbers_);
    explanation->setObjectName(QStringLiteral("lblNoExplanation"));
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    explanation->setGeometry(twipsRect(120, 5760, 3375, 495));

    auto* example = new QLabel(tr("Ex: +393351234567"), frmNumbers_);
    example->setObjectName(QStringLiteral("Label1"));
    QFont bold = example->font();
    bold.setBold(true);
    example->setFont(bold);
    example->setGeometry(twipsRect(120, 6240, 3255, 255));

    QToolButton* setNumbers =
        addSetButton(frmNumbers_, QStringLiteral("cmdSetNumbers"),
                     tr("Send phone numbers to modem"), twipsRect(2400, 6840, 855, 855));
    connect(setNumbers, &QToolButton::clicked, this, [this] { session_.setNumbers(); });
}

QToolButton* MainWindow::addSetButton(QWidget* frame, const QString& name, const QString& toolTip,
                                      QRect place) {
    auto* button = new QToolButton(frame);
    button->setObjectName(name);
    button->setText(tr("Set"));
    button->setToolTip(toolTip);
    button->setIcon(setButtonIcon());
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(place);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAccessibleName(tr("Set"));
    button->setAccessibleDescription(toolTip);
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
    statusLine_->setAccessibleDescription(tr("Status"));
    clockPanel_ = new QLabel(statusBar_);
    clockPanel_->setObjectName(QStringLiteral("StatusBar1_panel2"));
    clockPanel_->setFixedWidth(twips(3900));
    clockPanel_->setAccessibleDescription(tr("Date and time"));
    for (QLabel* panel : {statusLine_, clockPanel_}) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar_->addWidget(panel);
    }
}

void MainWindow::addQuitCommand() {
    auto* quit = new QAction(tr("Quit"), this);
    quit->setObjectName(QStringLiteral("quitAction"));
    quit->setShortcuts(standardKeys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    // From Tavek's other windows too; closing this one ends the program.
    quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);
}

// The steps keep the order the modem tools always had; it shows only in the
// port selection of step 8, made while the grid still held what it held.
void MainWindow::initMainWindow() {
    connection_.ModemConnected = false;
    setStatusText(tr("Modem Disconnected"));
    fillPortSelector(*toolbar_->cmbSerial(), connection_);
    selectPort(0);
    phoneGrid_->setCellText(0, 0, tr("Pos."));
    phoneGrid_->setCellText(0, PhoneGrid::NumberColumn, tr("Phone Number"));
    phoneGrid_->setGeneralAlignment(PhoneGrid::NumberColumn);
    phoneGrid_->setColumnWidth(0, twips(500));
    phoneGrid_->setColumnWidth(PhoneGrid::NumberColumn, twips(2500));
    for (int row = 1; row <= PhoneBookSize; ++row)
        phoneGrid_->setCellText(row, 0, QString::number(row));
    clockPanel_->setText(clockText(QDateTime::currentDateTime()));
}

void MainWindow::selectPort(int position) {
    QComboBox& selector = *toolbar_->cmbSerial();
    {
        const QSignalBlocker quiet(selector);
        selector.setCurrentIndex(position);
    }
    connection_.setCommPortNumber(qint16(position + 1));
}

void MainWindow::setFramesEnabled(bool enabled) {
    frmMain_->setEnabled(enabled);
    frmNumbers_->setEnabled(enabled);
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
