#pragma once

#include "InputConfig.h"

#include <QGroupBox>

#include <array>

class QComboBox;
class QLabel;
class QRadioButton;
class MessageTextBox;

// The frame " Input n " of one alarm input: Status, Port and Bit option
// pairs, the delay list and the Single and Double message boxes. Its
// controls carry the names of the window's control arrays with their element
// numbers ("optI2Active_0", "cmbMsec_2", "txtMessage_5").
class InputPanel : public QGroupBox {
    Q_OBJECT
public:
    // The 11 entries of the delay list: "No delay", then 100 to 1000 ms.
    static QStringList delayEntries();

    InputPanel(int input, QWidget* parent = nullptr);

    int input() const { return input_; }

    QGroupBox* frmStatus() const { return frmStatus_; }
    QGroupBox* frmPort() const { return frmPort_; }
    QGroupBox* frmBit() const { return frmBit_; }
    // Element 0 or 1 of the pair.
    QRadioButton* optActive(int element) const { return optActive_.at(element); }
    QRadioButton* optPort(int element) const { return optPort_.at(element); }
    QRadioButton* optBit(int element) const { return optBit_.at(element); }
    QComboBox* cmbMsec() const { return cmbMsec_; }
    MessageTextBox* singleBox() const { return single_; }
    MessageTextBox* doubleBox() const { return double_; }

    InputConfig config() const;
    void setConfig(const InputConfig& config);

signals:
    // Something the panel shows changed: a choice, the delay, a message.
    void edited();

private:
    QGroupBox* addFrame(const QString& name, int element, const QString& caption, QRect place);
    QRadioButton* addOption(QWidget* frame, const QString& name, int element,
                            const QString& caption, QRect place);
    QLabel* addLabel(const QString& name, int element, const QString& caption, QRect place,
                     QWidget* container);
    MessageTextBox* addMessageBox(int element, const QString& kind, QRect place);

    int input_;
    QGroupBox* frmStatus_ = nullptr;
    QGroupBox* frmPort_ = nullptr;
    QGroupBox* frmBit_ = nullptr;
    std::array<QRadioButton*, 2> optActive_{};
    std::array<QRadioButton*, 2> optPort_{};
    std::array<QRadioButton*, 2> optBit_{};
    QComboBox* cmbMsec_ = nullptr;
    MessageTextBox* single_ = nullptr;
    MessageTextBox* double_ = nullptr;
};
