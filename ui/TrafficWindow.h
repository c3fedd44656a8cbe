#pragma once

#include "TrafficPausedNote.h"
#include "TrafficRows.h"

#include <QTextCharFormat>
#include <QTimer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TrafficFindBar;

class TrafficRecorder;

// "Modem traffic": the rows the recorder keeps, one line of the modem's a
// row, with its time stamp, sent and received text told apart by colour and
// marker, in a fixed-pitch font; a long row wraps. The line still arriving
// shows as it grows. It takes new rows while it is open and not paused, and
// scrolls along with them unless the user has scrolled up. The bytes can be
// shown in hex, and the rows searched. It does not block its owner.
class TrafficWindow : public QWidget {
    Q_OBJECT
public:
    TrafficWindow(TrafficRecorder& recorder, QWidget* owner);
    ~TrafficWindow() override;

    QPlainTextEdit* text() const { return text_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* pauseButton() const { return pause_; }
    QCheckBox* hexBox() const { return hex_; }
    TrafficFindBar* findBar() const { return find_; }
    // Says, while paused, that the view stands still and how much waits.
    QLabel* pausedNote() const { return pausedNote_; }
    // The rows as shown, oldest first.
    QStringList shownRows() const;
    // Takes the rows recorded since it last did, unless paused. New rows are
    // taken at most every 100 ms by themselves, so a reply that comes byte by
    // byte costs a few paints, not one a byte.
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
    void takeRows();
    void appendRow(QTextCursor& cursor, const TrafficRow& row);
    void setPaused(bool paused);
    void showPausedNote();
    void copyRows();
    void saveRows();

    TrafficRecorder& recorder_;
    QPlainTextEdit* text_ = nullptr;
    TrafficFindBar* find_ = nullptr;
    QCheckBox* hex_ = nullptr;
    QPushButton* pause_ = nullptr;
    TrafficPausedNote* pausedNote_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* clear_ = nullptr;
    // Sent, received, and the rest.
    QTextCharFormat sentFormat_, receivedFormat_, otherFormat_;
    TrafficNotation notation_ = TrafficNotation::Text;
    // The recorder's number of the row after the last finished one appended,
    // and how many clears of the recorder the text has followed.
    qint64 shownEnd_ = 0;
    int clearsShown_ = 0;
    // The line arriving as the last row shows it, if it does.
    bool arrivingShown_ = false;
    TrafficRow arrivingAsShown_;
    QTimer catchingUp_;
};
