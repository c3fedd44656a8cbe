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
#include "StatusLine.h"
#include "TrafficWindow.h"
#include "Twips.h"
#include "WindowFont.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {
// The forms lay the window out in twips from its corner: the toolbar on
// top, the status bar at the bottom, and between them the frames, which sit
// in the content that scrolls. Their places there count from under the
// toolbar, so that at the laid-out size each is where the forms put it.
constexpr int FormWidth = 14640;
constexpr int FormHeight = 8910;
constexpr int ToolbarHeight = 660;
constexpr int StatusBarTop = 8535;

constexpr QRect contentRect(int left, int top, int width, int height) {
    return twipsRect(left, top - ToolbarHeight, width, height);
}
} // namespace

MainWindow::MainWindow(QWidget* parent, const LinkEnvironment& environment)
    : QWidget(parent, Qt::Window), connection_(environment) {
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Tavek"));
    setWindowIcon(productIcon());
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
    toolbar_->setFixedHeight(twips(ToolbarHeight));
    connect(toolbar_, &MainToolbar::triggered, this, &MainWindow::runCommand);
    // The port selector's handler: entry p (from 0) stands for "Com p+1".
    connect(toolbar_->cmbSerial(), &QComboBox::currentIndexChanged, this, [this](int position) {
        // Emptying the list is no choice of the user's.
        if (position >= 0) {
            connection_.setCommPortNumber(qint16(position + 1));
            chosenComPort_ = position + 1;
        }
    });

    buildContent();
    buildModemSettings();
    buildPhoneNumbers();
    statusBar_ = new StatusLine(this, twips(10600), twips(3900));
    statusBar_->setFixedHeight(twips(FormHeight - StatusBarTop));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(QMargins());
    layout->setSpacing(0);
    layout->addWidget(toolbar_);
    layout->addWidget(scrollArea_);
    layout->addWidget(statusBar_);
    resize(sizeHint());
    binding_ = new ConfigurationBinding(model_, panels_, *phoneGrid_, this);
    QList<QWidget*> order{toolbar_};
    order << QList<QWidget*>(panels_.begin(), panels_.end()) << cmdSendInputs_ << frmNumbers_;
    setKeyboardOrder(order);

    addQuitCommand();

    // The load handler.
    initMainWindow();
    // The port last chosen is the one to start with, as long as the list has
    // it; after a disconnect the list starts from "Com 1" again.
    const QComboBox& selector = *toolbar_->cmbSerial();
    if (remembered_.comPort >= 1 && remembered_.comPort <= selector.count()) {
        selectPort(remembered_.comPort - 1);
        chosenComPort_ = remembered_.comPort;
    }
}

MainWindow::~MainWindow() {
    // The children go after this, and the focus moves as they go: the hook
    // that brings the focus into view must not look into a content gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // They watch members that go before the window's children do.
    delete trafficWindow_;
    delete portsDialog_;
}

QSize MainWindow::sizeHint() const {
    return twipsRect(0, 0, FormWidth, FormHeight).size();
}

void MainWindow::buildContent() {
    content_ = new QWidget;
    content_->setObjectName(QStringLiteral("content"));
    content_->setFixedSize(
        contentRect(0, ToolbarHeight, FormWidth, StatusBarTop - ToolbarHeight).size());
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("contentScroller"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    // Tab goes to the controls, not to the area around them.
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidget(content_);
    // A control that takes the focus (Tab, a shortcut) comes into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && content_->isAncestorOf(now))
            scrollArea_->ensureWidgetVisible(now, 0, 0);
    });
}

void MainWindow::buildModemSettings() {
    frmMain_ = new QGroupBox(tr(" Modem Settings "), content_);
    frmMain_->setObjectName(QStringLiteral("frmMain"));
    frmMain_->setGeometry(contentRect(120, 720, 10815, 7815));
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
    frmNumbers_ = new QGroupBox(tr(" Phone Numbers "), content_);
    frmNumbers_->setObjectName(QStringLiteral("frmNumbers"));
    frmNumbers_->setGeometry(contentRect(11040, 720, 3495, 7815));
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
    connection_.modemConnected = false;
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
    statusBar_->showTime();
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
    if (!placed_) {
        placed_ = true;
        placeOnScreen();
    }
}

void MainWindow::placeOnScreen() {
    const QScreen* start = screen();
    if (!start)
        return;
    QList<QRect> areas;
    for (const QScreen* each : QGuiApplication::screens())
        areas << each->availableGeometry();
    // The frame is known once the window system has the window, as it has
    // by the time the window shows.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const int scrollBar = scrollArea_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setGeometry(placeWindow(sizeHint(), scrollBar, frame, areas, start->availableGeometry(),
                            remembered_.geometry));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Changes the modem was not sent are not let go without a word.
    if (!closing_ && !session_.mayLetChangesGo()) {
        event->ignore();
        return;
    }
    // Closing the main window ends the program, its other windows with it. An
    // operation that is running stops before its next command and lets the
    // port go: nothing more reaches the modem once the window is gone.
    closing_ = true;
    saveWindowSettings({normalGeometry(), chosenComPort_});
    connection_.port().close();
    if (about_)
        about_->close();
    if (trafficWindow_)
        trafficWindow_->close();
    if (portsDialog_)
        portsDialog_->close();
    QWidget::closeEvent(event);
}
