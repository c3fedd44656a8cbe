#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The text an empty message box shows, in the placeholder colour. The model
// and the modem know it by these words (a Double box that still shows it sends
// them); the box shows them in the user's language.
inline constexpr char PlaceholderSource[] =
    QT_TRANSLATE_NOOP("MessageTextBox", "Type here your message");
inline const QString PlaceholderText = QString::fromLatin1(PlaceholderSource);
// What a message box takes by typing.
inline constexpr int MessageMaxLength = 50;
// What a configuration may hold: a modem set by another tool may hold a
// longer text, which is shown, kept and sent back whole. One SMS.
inline constexpr int StoredMessageMaxLength = 160;
inline constexpr int InputCount = 3;
inline constexpr int PhoneBookSize = 20;

// The "Active" / "Disactive" pair. The default configuration can leave it
// with neither option selected, which counts as not active.
enum class InputStatus { Active, Disactive, Neither };
// The "N. Open" / "N. Closed" pair: the contact's rest state.
enum class RestState { NormallyOpen, NormallyClosed };
// The "Single (recomended)" / "Double" pair.
enum class BitMode { Single, Double };

// One message box as the modem operations see it: its text, and whether it
// is drawn in the placeholder colour. It holds the placeholder only when
// both the text and the colour say so.
struct MessageText {
    QString text;
    bool placeholderColour = false;

    bool isPlaceholder() const { return placeholderColour && text == PlaceholderText; }
    bool operator==(const MessageText&) const = default;
};

// The six fields of one alarm input, as its panel holds them.
struct InputConfig {
    InputStatus status = InputStatus::Disactive;
    RestState restState = RestState::NormallyOpen; // the "N. Open" / "N. Closed" pair
    BitMode bit = BitMode::Single;
    int delayIndex = 0; // 0 = "No delay", k = k x 100 ms, up to 10
    MessageText singleMessage{PlaceholderText, true};
    MessageText doubleMessage{PlaceholderText, true};

    bool operator==(const InputConfig&) const = default;
};

using InputsConfig = std::array<InputConfig, InputCount>;
