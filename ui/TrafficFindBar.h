#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

// Finds text in the modem traffic: a find field, "Previous" and "Next"
// (Enter and Shift+Enter in the field, F3 and Shift+F3 in the window), and
// how many rows hold a match. Every match is marked; the one moved to is
// chosen, so "Copy" takes it. The search wraps around at either end and
// ignores case.
class TrafficFindBar : public QWidget {
    Q_OBJECT
public:
    TrafficFindBar(QPlainTextEdit& text, QWidget* parent);

    QLineEdit* field() const { return field_; }
    QToolButton* previousButton() const { return previous_; }
    QToolButton* nextButton() const { return next_; }
    QLabel* result() const { return result_; }

    // Ctrl+F: into the field, its text chosen for typing over.
    void focusField();
    void findNext() { find(false); }
    void findPrevious() { find(true); }
    // The text shown changed: the marks follow.
    void textChanged();

private:
    void find(bool backward);
    void searchAsTyped();
    void markMatches();

    QPlainTextEdit& text_;
    QLineEdit* field_ = nullptr;
    QToolButton* previous_ = nullptr;
    QToolButton* next_ = nullptr;
    QLabel* result_ = nullptr;
};
