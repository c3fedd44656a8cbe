#include "AboutWindow.h"

#include "Images.h"
#include "LinkLabel.h"
#include "Twips.h"
#include "VersionText.h"
#include "WindowFont.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

QUrl AboutWindow::webUrl() {
    return QUrl(maker::WebAddress);
}

QUrl AboutWindow::mailUrl() {
    return QUrl(QStringLiteral("mailto:") + maker::MailAddress);
}

AboutWindow::AboutWindow(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("About"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("About Tavek..."));
    setWindowIcon(productIcon());
    setFixedSize(twips(8580), twips(5580));
    setFont(windowFont());
    openLink = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    auto* emblem = new QLabel(this);
    emblem->setObjectName(QStringLiteral("Image1"));
    emblem->setGeometry(twipsRect(120, 120, 2505, 2505));
    emblem->setPixmap(
        renderPicture(QStringLiteral(":/icons/emblem.svg"), emblem->size(), devicePixelRatio()));
    emblem->setScaledContents(true);
    emblem->setAccessibleName(tr("Tavek emblem"));

    const QFont plain = font();
    const QFont strong = arialFont(9.75, true);
    addLabel(QStringLiteral("Label10"), tr("Application :"), twipsRect(2760, 120, 1095, 255),
             plain);
    addLabel(QStringLiteral("Label8"), QStringLiteral("TAVEK"), twipsRect(3960, 120, 3495, 255),
             strong);
    addLabel(QStringLiteral("Label9"), tr("Version :"), twipsRect(2760, 720, 1095, 255), plain);
    addLabel(QStringLiteral("Label11"), programVersionText(), twipsRect(3960, 720, 3615, 255),
             strong);
    addLabel(QStringLiteral("Label12"), tr("Description :"), twipsRect(2760, 1320, 1095, 255),
             plain);
    addLabel(QStringLiteral("Label7"), programDescription(), twipsRect(3960, 1320, 4575, 495),
             strong)
        ->setWordWrap(true);
    addLabel(QStringLiteral("Label13"), tr("Software :"), twipsRect(2760, 1920, 1095, 255), plain);
    addLabel(QStringLiteral("Label14"), maker::Software, twipsRect(3960, 1920, 4575, 255), strong);

    // The maker's address on the left, the telephone lines on the right.
    const QFont contact = arialFont(12);
    addLabel(QStringLiteral("Label1"), maker::Company, twipsRect(240, 3120, 6000, 360),
             arialFont(13.5, true));
    addLabel(QStringLiteral("Label2"), maker::Street, twipsRect(240, 3615, 2205, 330), contact);
    addLabel(QStringLiteral("Label3"), maker::Town, twipsRect(240, 4020, 2205, 330), contact);
    addLabel(QStringLiteral("Label4"), maker::Country, twipsRect(240, 4425, 2205, 330), contact);
    addLabel(QStringLiteral("Label5"), maker::Telephone, twipsRect(2475, 3615, 4800, 330), contact);
    addLabel(QStringLiteral("Label6"), maker::Fax, twipsRect(2475, 4020, 4800, 330), contact);
    addLabel(QStringLiteral("Label16"), maker::HotLine, twipsRect(2475, 4440, 4800, 330), contact);

    auto* web = new LinkLabel(maker::WebText, contact, this);
    web->setObjectName(QStringLiteral("URLlbl"));
    web->setGeometry(twipsRect(240, 4800, 2535, 375));
    connect(web, &LinkLabel::clicked, this, [this] { openLink(webUrl()); });

    auto* mail = new LinkLabel(maker::MailAddress, contact, this);
    mail->setObjectName(QStringLiteral("MAILlbl"));
    mail->setGeometry(twipsRect(240, 5160, 2775, 375));
    connect(mail, &LinkLabel::clicked, this, [this] { openLink(mailUrl()); });

    auto* exit = new QToolButton(this);
    exit->setObjectName(QStringLiteral("btnclose"));
    exit->setText(tr("E&xit"));
    exit->setFont(arialFont(9.75));
    exit->setIcon(exitButtonIcon());
    exit->setIconSize(QSize(32, 32));
    exit->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    exit->setGeometry(twipsRect(7560, 4560, 975, 975));
    exit->setAccessibleName(tr("Exit"));
    connect(exit, &QToolButton::clicked, this, &QWidget::close);
}

QLabel* AboutWindow::addLabel(const QString& name, const QString& text, QRect place,
                              const QFont& font) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setFont(font);
    label->setGeometry(place);
    return label;
}

void AboutWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Centred over the owner the first time it is shown.
    if (!centred_ && parentWidget()) {
        centred_ = true;
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
    }
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
