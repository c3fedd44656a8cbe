#include "InputPanel.h"

#include "MessageTextBox.h"
#include "Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

namespace {
QString elementName(const QString& name, int element) {
    return name + QLatin1Char('_') + QString::number(element);
}

// Selects element 0, element 1, or neither of an exclusive pair.
void selectInPair(const std::array<QRadioButton*, 2>& pair, int element) {
    if (element == 0 || element == 1) {
        pair[element]->setChecked(true);
        return;
    }
    for (QRadioButton* option : pair) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}
} // namespace

QStringList InputPanel::delayEntries() {
    QStringList entries{tr("No delay")};
    for (int hundreds = 1; hundreds <= 10; ++hundreds)
        entries << QString::number(hundreds * 100);
    return entries;
}

InputPanel::InputPanel(int input, QWidget* parent)
    : QGroupBox(tr(" Input %1 ").arg(input), parent), input_(input) {
    setObjectName(QStringLiteral("frmI%1").arg(input));
    // Qt would name a frame inside a frame after the outer one's caption.
    setAccessibleName(title());
    const int element = input - 1;
    const QString pairSuffix = QString::number(input);

    frmStatus_ = addFrame(QStringLiteral("frmStatus"), element, tr(" Status "),
                          twipsRect(120, 360, 3015, 1215));
    const QString activeName = QStringLiteral("optI%1Active").arg(input);
    optActive_[0] =
        addOption(frmStatus_, activeName, 0, tr("Active"), twipsRect(120, 240, 1335, 375));
    optActive_[1] =
        addOption(frmStatus_, activeName, 1, tr("Disactive"), twipsRect(120, 720, 1335, 375));

    frmPort_ = addFrame(QStringLiteral("frmPort"), element, tr(" Port "),
                        twipsRect(120, 1680, 3015, 1215));
    const QString portName = QStringLiteral("optPort") + pairSuffix;
    optPort_[0] = addOption(frmPort_, portName, 0, tr("N. Open"), twipsRect(120, 240, 1335, 375));
    optPort_[1] = addOption(frmPort_, portName, 1, tr("N. Closed"), twipsRect(120, 720, 1335, 375));

    frmBit_ =
        addFrame(QStringLiteral("frmBit"), element, tr(" Bit "), twipsRect(120, 3000, 3015, 1680));
    const QString bitName = QStringLiteral("optBit") + pairSuffix;
    optBit_[0] =
        addOption(frmBit_, bitName, 0, tr("Single (recomended)"), twipsRect(120, 240, 1935, 375));
    optBit_[1] = addOption(frmBit_, bitName, 1, tr("Double"), twipsRect(120, 720, 1335, 375));
    QLabel* msec = addLabel(QStringLiteral("lblmsec"), element, tr("msec: "),
                            twipsRect(120, 1230, 495, 255), frmBit_);
    cmbMsec_ = new QComboBox(frmBit_);
    cmbMsec_->setObjectName(elementName(QStringLiteral("cmbMsec"), input));
    cmbMsec_->addItems(delayEntries());
    cmbMsec_->setGeometry(twipsRect(720, 1200, 1455, 315));
    // A reader hears the entry shown as the list's name, "msec: " and the
    // frame ("Input 2 Bit") by relation, and whose delay it is as description.
    msec->setBuddy(cmbMsec_);
    cmbMsec_->setAccessibleDescription(tr("Input %1 delay").arg(input));

    QLabel* singleLabel = addLabel(QStringLiteral("lblSMSmessage"), element, tr("Message Single:"),
                                   twipsRect(120, 4800, 3015, 255), this);
    single_ = addMessageBox(input, tr("Single"), twipsRect(120, 5040, 3015, 285));
    singleLabel->setBuddy(single_);
    QLabel* doubleLabel = addLabel(QStringLiteral("lblSMSmessage"), input + 2,
                                   tr("Message Double:"), twipsRect(120, 5640, 3015, 255), this);
    double_ = addMessageBox(input + 3, tr("Double"), twipsRect(120, 5880, 3015, 285));
    doubleLabel->setBuddy(double_);

    for (const auto& pair : {optActive_, optPort_, optBit_})
        for (QRadioButton* option : pair)
            connect(option, &QRadioButton::toggled, this, &InputPanel::edited);
    connect(cmbMsec_, &QComboBox::currentIndexChanged, this, &InputPanel::edited);
    for (MessageTextBox* box : {single_, double_})
        connect(box, &MessageTextBox::messageChanged, this, &InputPanel::edited);
}

QGroupBox* InputPanel::addFrame(const QString& name, int element, const QString& caption,
                                QRect place) {
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(elementName(name, element));
    frame->setGeometry(place);
    frame->setAccessibleName(tr("Input %1 %2").arg(input_).arg(caption.trimmed()));
    return frame;
}

QRadioButton* InputPanel::addOption(QWidget* frame, const QString& name, int element,
                                    const QString& caption, QRect place) {
    auto* option = new QRadioButton(caption, frame);
    option->setObjectName(elementName(name, element));
    // Fonts differ from system to system: an option never clips its caption
    // when the frame has room for it.
    place.setWidth(qMax(place.width(), option->sizeHint().width()));
    option->setGeometry(place);
    return option;
}

QLabel* InputPanel::addLabel(const QString& name, int element, const QString& caption, QRect place,
                             QWidget* container) {
    auto* label = new QLabel(caption, container);
    label->setObjectName(elementName(name, element));
    label->setGeometry(place);
    return label;
}

MessageTextBox* InputPanel::addMessageBox(int element, const QString& kind, QRect place) {
    auto* box = new MessageTextBox(this);
    box->setObjectName(elementName(QStringLiteral("txtMessage"), element));
    box->setGeometry(place);
    box->setAccessibleName(tr("Input %1 %2 message").arg(input_).arg(kind));
    return box;
}

InputConfig InputPanel::config() const {
    InputConfig config;
    if (optActive_[0]->isChecked())
        config.status = InputStatus::Active;
    else if (optActive_[1]->isChecked())
        config.status = InputStatus::Disactive;
    else
        config.status = InputStatus::Neither;
    config.restState =
        optPort_[0]->isChecked() ? RestState::NormallyOpen : RestState::NormallyClosed;
    config.bit = optBit_[0]->isChecked() ? BitMode::Single : BitMode::Double;
    config.delayIndex = cmbMsec_->currentIndex();
    config.singleMessage = single_->message();
    config.doubleMessage = double_->message();
    return config;
}

void InputPanel::setConfig(const InputConfig& config) {
    const int status = config.status == InputStatus::Active      ? 0
                       : config.status == InputStatus::Disactive ? 1
                                                                 : -1;
    selectInPair(optActive_, status);
    selectInPair(optPort_, config.restState == RestState::NormallyOpen ? 0 : 1);
    selectInPair(optBit_, config.bit == BitMode::Single ? 0 : 1);
    if (config.delayIndex >= 0 && config.delayIndex < cmbMsec_->count())
        cmbMsec_->setCurrentIndex(config.delayIndex);
    single_->setMessage(config.singleMessage);
    double_->setMessage(config.doubleMessage);
}
