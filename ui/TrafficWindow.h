#pragma once

#include <QTextCharFormat>
#include <QTimer>
#include <QWidget>

#include <functional>

class QPlainTextEdit;
class QPushButton;
class TrafficRecorder;

// "Modem traffic": every row the recorder keeps, with its time stamp, sent
// and received text told apart by colour and marker, in a fixed-pitch font;
// a long reply wraps. It takes new rows while it is open, and scrolls along
// with them unless the user has scrolled up. It does not block its owner.
class TrafficWindow : public QWidget {
    Q_OBJECT
public:
    TrafficWindow(TrafficRecorder& recorder, QWidget* owner);
    ~TrafficWindow() override;

    QPlainTextEdit* text() const { return text_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* clearButton() const { return clear_; }
    // The rows as shown, oldest first.
    QStringList shownRows() const;
    // Takes the rows recorded since it last did. New rows are taken at most
    // every 100 ms by themselves, so a reply that comes byte by byte costs a
    // few paints, not one a byte.
    void catchUp();
    // The colour a row is shown in, by its number among the rows shown.
    QColor rowColour(int row) const;

    // Asks where to save; an empty name when the user cancels. Replaceable,
    // like the box that says a save failed, so a test needs no person.
    std::function<QString()> askSaveFileName;
    std::function<void(const QString& text)> showError;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void follow(bool on);
    void showAgain();
    void copyRows();
    void saveRows();

    TrafficRecorder& recorder_;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clear_ = nullptr;
    // Sent, received, and the rest.
    QTextCharFormat sentFormat_, receivedFormat_, otherFormat_;
    // The recorder's numbers of the first row appended since the text was
    // last emptied, and of the row after the last one appended.
    qint64 shownFirst_ = 0;
    qint64 shownEnd_ = 0;
    QTimer catchingUp_;
};
