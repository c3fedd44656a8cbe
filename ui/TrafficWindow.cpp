#include "TrafficWindow.h"

#include "Images.h"
#include "SafeSave.h"
#include "TrafficFindBar.h"
#include "TrafficPausedNote.h"
#include "TrafficRecorder.h"
#include "WindowFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

#include <algorithm>

TrafficWindow::TrafficWindow(TrafficRecorder& recorder, QWidget* owner)
    : QWidget(owner, Qt::Window), recorder_(recorder) {
    setObjectName(QStringLiteral("ModemTraffic"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Modem traffic"));
    setWindowIcon(productIcon());
    setFont(windowFont());
    resize(780, 440);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("trafficRows"));
    text_->setAccessibleName(tr("Modem traffic"));
    text_->setReadOnly(true);
    text_->setUndoRedoEnabled(false);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    text_->setFont(fixed);
    // The recorder's bound: the text drops its oldest rows as the recorder does.
    text_->setMaximumBlockCount(recorder_.maxRows());

    find_ = new TrafficFindBar(*text_, this);
    hex_ = new QCheckBox(tr("Hex"), this);
    hex_->setObjectName(QStringLiteral("hex"));
    hex_->setToolTip(tr("Shows the bytes sent and received in hex"));
    pause_ = new QPushButton(tr("Pause"), this);
    pause_->setObjectName(QStringLiteral("pause"));
    pause_->setCheckable(true);
    pause_->setAutoDefault(false);
    pause_->setToolTip(tr("Holds the view still; the traffic is still recorded"));
    pausedNote_ = new TrafficPausedNote(this);
    connect(hex_, &QCheckBox::toggled, this, [this](bool on) {
        notation_ = on ? TrafficNotation::Hex : TrafficNotation::Text;
        showAgain();
    });
    connect(pause_, &QPushButton::toggled, this, &TrafficWindow::setPaused);

    const auto addButton = [this](const QString& name, const QString& label) {
        auto* button = new QPushButton(label, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    copy_ = addButton(QStringLiteral("copy"), tr("Copy"));
    copy_->setToolTip(tr("Copies the chosen text, or every row when none is chosen"));
    save_ = addButton(QStringLiteral("saveAs"), tr("Save as\u2026"));
    save_->setToolTip(tr("Saves every row as plain text"));
    clear_ = addButton(QStringLiteral("clear"), tr("Clear"));
    connect(copy_, &QPushButton::clicked, this, &TrafficWindow::copyRows);
    connect(save_, &QPushButton::clicked, this, &TrafficWindow::saveRows);
    connect(clear_, &QPushButton::clicked, this, [this] {
        recorder_.clear();
        // Gone also from a paused view; what comes next waits as before.
        takeRows();
        if (pause_->isChecked())
            showPausedNote();
    });
    catchingUp_.setSingleShot(true);
    catchingUp_.setInterval(100);
    connect(&catchingUp_, &QTimer::timeout, this, &TrafficWindow::catchUp);

    const auto addShortcut = [this](const QKeySequence& keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    addShortcut(QKeySequence::Find, [this] { find_->focusField(); });
    addShortcut(QKeySequence::FindNext, [this] { find_->findNext(); });
    addShortcut(QKeySequence::FindPrevious, [this] { find_->findPrevious(); });

    auto* tools = new QHBoxLayout;
    tools->addWidget(find_, 1);
    tools->addWidget(hex_);
    tools->addWidget(pause_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy_);
    buttons->addWidget(save_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(pausedNote_);
    layout->addWidget(text_);
    layout->addLayout(buttons);

    askSaveFileName = [this] {
        return QFileDialog::getSaveFileName(this, tr("Save the modem traffic"),
                                            tr("modem-traffic.txt"),
                                            tr("Text files (*.txt);;All files (*)"));
    };
    showError = [this](const QString& message) {
        QMessageBox::warning(this, tr("Modem traffic"), message);
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
    if (event->type() == QEvent::PaletteChange) {
        pausedNote_->takeColours(palette());
        showAgain();
    }
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

// Every row anew, in the colours of the palette now and the notation chosen.
void TrafficWindow::showAgain() {
    // Sent rows in the palette's link colour, received rows in its text
    // colour, the rest greyed: dark themes keep them apart too.
    sentFormat_.setForeground(palette().color(QPalette::Link));
    receivedFormat_.setForeground(palette().color(QPalette::Text));
    otherFormat_.setForeground(palette().color(QPalette::PlaceholderText));
    text_->clear();
    // A paused view shows again what it showed, not what came since.
    const qint64 upTo = pause_->isChecked() ? shownEnd_ : recorder_.endNumber();
    shownEnd_ = recorder_.firstNumber();
    clearsShown_ = recorder_.clears();
    arrivingShown_ = false;
    if (pause_->isChecked()) {
        // The rows it showed that the recorder still keeps.
        QTextCursor cursor(text_->document());
        cursor.beginEditBlock();
        for (; shownEnd_ < upTo; ++shownEnd_)
            appendRow(cursor, recorder_.rows()[std::size_t(shownEnd_ - recorder_.firstNumber())]);
        cursor.endEditBlock();
        find_->textChanged();
        return;
    }
    takeRows();
}

void TrafficWindow::catchUp() {
    catchingUp_.stop();
    if (pause_->isChecked())
        showPausedNote();
    else
        takeRows();
}

void TrafficWindow::takeRows() {
    if (recorder_.clears() != clearsShown_) {
        text_->clear();
        shownEnd_ = recorder_.firstNumber();
        clearsShown_ = recorder_.clears();
        arrivingShown_ = false;
    }
    const qint64 first = recorder_.firstNumber();
    const qint64 end = recorder_.endNumber();
    const TrafficRow* arriving = pause_->isChecked() ? nullptr : recorder_.lineArriving();
    const qint64 from = std::max(shownEnd_, first);
    const bool arrivingChanged = arriving
                                     ? !arrivingShown_ || arriving->time != arrivingAsShown_.time ||
                                           arriving->text != arrivingAsShown_.text
                                     : arrivingShown_;
    if (from >= end && !arrivingChanged)
        return;

    QScrollBar* bar = text_->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    const int scrolledTo = bar->value();
    QTextCursor cursor(text_->document());
    cursor.beginEditBlock();
    if (arrivingShown_) {
        // The line as it was is the last row; it is shown anew, grown or finished.
        const QTextBlock last = text_->document()->lastBlock();
        cursor.setPosition(std::max(0, last.position() - 1));
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        arrivingShown_ = false;
    }
    for (qint64 n = from; n < end; ++n)
        appendRow(cursor, recorder_.rows()[std::size_t(n - first)]);
    if (arriving) {
        appendRow(cursor, *arriving);
        arrivingShown_ = true;
        arrivingAsShown_ = *arriving;
    }
    cursor.endEditBlock();
    shownEnd_ = end;
    if (atEnd)
        bar->setValue(bar->maximum());
    else
        bar->setValue(scrolledTo);
    find_->textChanged();
}

void TrafficWindow::appendRow(QTextCursor& cursor, const TrafficRow& row) {
    const QTextCharFormat& format = row.kind == TrafficKind::Sent       ? sentFormat_
                                    : row.kind == TrafficKind::Received ? receivedFormat_
                                                                        : otherFormat_;
    cursor.movePosition(QTextCursor::End);
    if (text_->document()->isEmpty())
        cursor.setBlockCharFormat(format);
    else
        cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(trafficRowText(row, notation_), format);
}

void TrafficWindow::setPaused(bool paused) {
    pause_->setText(paused ? tr("Resume") : tr("Pause"));
    setWindowTitle(paused ? tr("Modem traffic (paused)") : tr("Modem traffic"));
    pausedNote_->setVisible(paused);
    if (paused)
        showPausedNote();
    else
        catchUp();
}

void TrafficWindow::showPausedNote() {
    pausedNote_->showWaiting(recorder_.endNumber() - shownEnd_);
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
