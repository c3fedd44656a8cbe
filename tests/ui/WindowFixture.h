#pragma once

#include "MainToolbar.h"
#include "MainWindow.h"

#include <QStringList>
#include <QTest>
#include <QToolButton>

// Answers the main window's modal boxes and remembers what they said.
struct AnsweredBoxes {
    QStringList errors;
    QStringList confirmations;
    bool answerYes = true;
    std::function<void()> whileErrorShown;

    void install(MainWindow& window) {
        window.dialogs().modemError = [this](const QString& text) {
            errors << text;
            if (whileErrorShown)
                whileErrorShown();
        };
        window.dialogs().confirm = [this](const QString& text) {
            confirmations << text;
            return answerYes;
        };
    }
};

// A shown, active main window, as a user has it in front of them.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

inline void clickToolbar(MainWindow& window, int position) {
    QTest::mouseClick(window.toolbar()->buttonWidget(position), Qt::LeftButton);
}
