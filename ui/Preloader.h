#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

// The splash window: picture, version and a loading text. Its timer opens
// the main window at 1.8 s and then the splash closes itself for good.
class Preloader : public QWidget {
    Q_OBJECT
public:
    // showMain creates and shows the main window.
    explicit Preloader(std::function<void()> showMain, QWidget* parent = nullptr);

    QTimer* timer() const { return timer_; }

    // The timer's tick. The three steps are told apart by the timer's
    // interval alone: 300, then 600, then 900 ms.
    void tick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<void()> showMain_;
    QLabel* loading_ = nullptr;
    QTimer* timer_ = nullptr;
};
