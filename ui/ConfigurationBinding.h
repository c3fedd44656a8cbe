#pragma once

#include <QObject>

#include <array>

class ConfigurationModel;
class InputPanel;
class PhoneGrid;

// Keeps the three input panels and the phone grid showing the model, and
// writes what the user changes in them into it. The model holds what the
// window means; the widgets hold how it looks.
class ConfigurationBinding : public QObject {
    Q_OBJECT
public:
    ConfigurationBinding(ConfigurationModel& model, const std::array<InputPanel*, 3>& panels,
                         PhoneGrid& grid, QObject* parent = nullptr);

private:
    void showInput(int n);
    void showNumber(int position);

    ConfigurationModel& model_;
    std::array<InputPanel*, 3> panels_;
    PhoneGrid& grid_;
    // While the widgets are set from the model, what they report is no edit.
    bool showing_ = false;
};
