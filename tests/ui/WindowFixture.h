#pragma once

#include "MainToolbar.h"
#include "MainWindow.h"

#include <QComboBox>
#include <QGroupBox>
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

// What the user can reach, as the connection state has it: the toolbar, both
// frames, the port selector, how many of buttons 3 to 6, and button 1's image.
struct Reachable {
    bool toolbar = false;
    bool frames = false;
    bool selector = false;
    int commands = 0;
    int image = 0;
    bool operator==(const Reachable&) const = default;
};
inline Reachable reachable(const MainWindow& window) {
    Reachable now{window.toolbar()->isEnabled(),
                  window.frmMain()->isEnabled() && window.frmNumbers()->isEnabled(),
                  window.cmbSerial()->isEnabled(), 0, window.toolbar()->connectionImage()};
    for (int position : {3, 4, 5, 6})
        now.commands += window.toolbar()->buttonWidget(position)->isEnabled();
    return now;
}
inline const Reachable NotConnected{true, false, true, 0, 1};
inline const Reachable Connected{true, true, false, 4, 2};

// A shown, active main window, as a user has it in front of them.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

inline void clickToolbar(MainWindow& window, int position) {
    QTest::mouseClick(window.toolbar()->buttonWidget(position), Qt::LeftButton);
}
