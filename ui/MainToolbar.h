#pragma once

#include <QToolBar>

#include <array>

class QAction;
class QComboBox;
class QToolButton;

// The toolbar of seven positions. Position 2 is a gap that holds the port
// selector; the others are image buttons known by their position alone.
class MainToolbar : public QToolBar {
    Q_OBJECT
public:
    static constexpr int PositionCount = 7;
    static constexpr int SelectorPosition = 2;

    explicit MainToolbar(QWidget* parent = nullptr);

    // The button at a position, or nullptr for the gap.
    QAction* button(int position) const;
    QToolButton* buttonWidget(int position) const;
    QComboBox* cmbSerial() const { return cmbSerial_; }

    // Button 1's image is the toolbar's record of the connection: 1 while
    // not connected, 2 while connected.
    int connectionImage() const { return connectionImage_; }
    void setConnectionImage(int index);

signals:
    void buttonClick(int position);

private:
    std::array<QAction*, PositionCount> buttons_{};
    QComboBox* cmbSerial_ = nullptr;
    int connectionImage_ = 1;
};
