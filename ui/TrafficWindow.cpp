#include "TrafficWindow.h"

#include "Images.h"
#include "SafeSave.h"
#include "TrafficRecorder.h"
#include "WindowFont.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

#include <algorithm>

TrafficWindow::TrafficWindow(TrafficRecorder& recorder, QWidget* owner)
    : QWidget(owner, Qt::Window), recorder_(recorder) {
    setObjectName(QStringLiteral("ModemTraffic"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Modem traffic"));
    setWindowIcon(productIcon());
    setFont(windowFont());
    resize(780, 440);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("trafficRows"));
    text_->setAccessibleName(QStringLiteral("Modem traffic"));
    text_->setReadOnly(true);
    text_->setUndoRedoEnabled(false);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    text_->setFont(fixed);
    // The recorder's bound: the text drops its oldest rows as the recorder does.
    text_->setMaximumBlockCount(recorder_.maxRows());

    const auto addButton = [this](const QString& name, const QString& label) {
        auto* button = new QPushButton(label, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    copy_ = addButton(QStringLiteral("copy"), QStringLiteral("Copy"));
    copy_->setToolTip(QStringLiteral("Copies the chosen text, or every row when none is chosen"));
    save_ = addButton(QStringLiteral("saveAs"), QStringLiteral("Save as\u2026"));
    save_->setToolTip(QStringLiteral("Saves every row as plain text"));
    clear_ = addButton(QStringLiteral("clear"), QStringLiteral("Clear"));
    connect(copy_, &QPushButton::clicked, this, &TrafficWindow::copyRows);
    connect(save_, &QPushButton::clicked, this, &TrafficWindow::saveRows);
    connect(clear_, &QPushButton::clicked, this, [this] {
        recorder_.clear();
        catchUp();
    });
    catchingUp_.setSingleShot(true);
    catchingUp_.setInterval(100);
    connect(&catchingUp_, &QTimer::timeout, this, &TrafficWindow::catchUp);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy_);
    buttons->addWidget(save_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);

    askSaveFileName = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save the modem traffic"),
                                            QStringLiteral("modem-traffic.txt"),
                                            QStringLiteral("Text files (*.txt);;All files (*)"));
    };
    showError = [this](const QString& message) {
        QMessageBox::warning(this, QStringLiteral("Modem traffic"), message);
    };
}

TrafficWindow::~TrafficWindow() {
    follow(false);
}

QStringList TrafficWindow::shownRows() const {
    QStringList rows;
    const QTextDocument* document = text_->document();
    if (document->isEmpty())
        return rows;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        rows << block.text();
    return rows;
}

QColor TrafficWindow::rowColour(int row) const {
    const QTextBlock block = text_->document()->findBlockByNumber(row);
    return block.isValid() ? block.charFormat().foreground().color() : QColor();
}

void TrafficWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    follow(true);
}

void TrafficWindow::hideEvent(QHideEvent* event) {
    // A window nobody sees costs nothing: it catches up when shown again.
    follow(false);
    QWidget::hideEvent(event);
}

void TrafficWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        showAgain();
}

void TrafficWindow::follow(bool on) {
    if (!on) {
        recorder_.setChangeListener({});
        catchingUp_.stop();
        return;
    }
    recorder_.setChangeListener([this] {
        if (!catchingUp_.isActive())
            catchingUp_.start();
    });
    showAgain();
}

// Every row anew, in the colours of the palette now.
void TrafficWindow::showAgain() {
    // Sent rows in the palette's link colour, received rows in its text
    // colour, the rest greyed: dark themes keep them apart too.
    sentFormat_.setForeground(palette().color(QPalette::Link));
    receivedFormat_.setForeground(palette().color(QPalette::Text));
    otherFormat_.setForeground(palette().color(QPalette::PlaceholderText));
    text_->clear();
    shownFirst_ = shownEnd_ = recorder_.firstNumber();
    catchUp();
}

void TrafficWindow::catchUp() {
    catchingUp_.stop();
    const qint64 first = recorder_.firstNumber();
    const qint64 end = recorder_.endNumber();
    // Once the new rows are in, the text keeps the last maxRows() of those
    // appended; rows before what the recorder keeps mean it was cleared.
    if (first > std::max(shownFirst_, end - recorder_.maxRows())) {
        text_->clear();
        shownFirst_ = shownEnd_ = first;
    }
    const qint64 from = std::max(shownEnd_, first);
    if (from >= end)
        return;

    QScrollBar* bar = text_->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    const int scrolledTo = bar->value();
    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    bool firstRow = text_->document()->isEmpty();
    for (qint64 n = from; n < end; ++n) {
        const TrafficRow& row = recorder_.rows()[std::size_t(n - first)];
        const QTextCharFormat& format = row.kind == TrafficKind::Sent       ? sentFormat_
                                        : row.kind == TrafficKind::Received ? receivedFormat_
                                                                            : otherFormat_;
        if (firstRow) {
            cursor.setBlockCharFormat(format);
            firstRow = false;
        } else {
            cursor.insertBlock(QTextBlockFormat(), format);
        }
        cursor.insertText(trafficRowText(row), format);
    }
    cursor.endEditBlock();
    shownEnd_ = end;
    if (atEnd)
        bar->setValue(bar->maximum());
    else
        bar->setValue(scrolledTo);
}

void TrafficWindow::copyRows() {
    const QTextCursor chosen = text_->textCursor();
    const QStringList rows = shownRows();
    QString copied = chosen.hasSelection() ? chosen.selection().toPlainText()
                                           : rows.join(u'\n') + (rows.isEmpty() ? "" : "\n");
    QApplication::clipboard()->setText(copied);
}

void TrafficWindow::saveRows() {
    const QString fileName = askSaveFileName();
    if (fileName.isEmpty())
        return;
    QByteArray bytes;
    for (const QString& row : shownRows())
        bytes += (row + u'\n').toUtf8();
    QString reason;
    if (!saveWhole(fileName, bytes, &reason))
        showError(tr("The modem traffic could not be saved as %1: %2.").arg(fileName, reason));
}
