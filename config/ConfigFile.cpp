#include "ConfigFile.h"

#include "JsonRepeatedKeys.h"
#include "ModemText.h"
#include "PhoneNumberRule.h"
#include "SafeSave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

// The file names the values of each choice; the window's enums stay out of it.
template <typename E> struct Named {
    E value;
    const char* name;
};
constexpr Named<InputStatus> StatusNames[] = {{InputStatus::Active, "active"},
                                              {InputStatus::Disactive, "inactive"},
                                              {InputStatus::Neither, "none"}};
constexpr Named<RestState> RestStateNames[] = {{RestState::NormallyOpen, "normally-open"},
                                               {RestState::NormallyClosed, "normally-closed"}};
constexpr Named<BitMode> BitNames[] = {{BitMode::Single, "single"}, {BitMode::Double, "double"}};

constexpr int DelayStepMs = 100;
constexpr int MaxDelayIndex = 10;
// A configuration file is a few kilobytes; anything this large is something else.
constexpr qint64 MaxFileBytes = 1 << 20;

template <typename E, std::size_t N> QString nameOf(const Named<E> (&names)[N], E value) {
    for (const Named<E>& n : names) {
        if (n.value == value)
            return QLatin1String(n.name);
    }
    return QStringLiteral("?"); // no such value: the reader refuses it
}

// "a", "b" or "c"
template <typename E, std::size_t N> QString choices(const Named<E> (&names)[N]) {
    QString text;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0)
            text += i + 1 == N ? QCoreApplication::translate("ConfigFile", " or ")
                               : QCoreApplication::translate("ConfigFile", ", ");
        text += u'"' + QLatin1String(names[i].name) + u'"';
    }
    return text;
}

// A JSON string. Control characters and lone UTF-16 halves are escaped, so
// any text comes back exactly; all else is written as it is, so that Latin-1
// letters stay readable.
QString jsonString(QStringView text) {
    QString out(u'"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool pair =
            c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (pair) {
            out += c;
            out += text[++i];
        } else if (isControlCharacter(c) || c.isSurrogate()) {
            out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QChar(u'0'));
        } else {
            out += c;
        }
    }
    return out + u'"';
}

// A value as a problem message quotes it.
QString shown(const QJsonValue& value) {
    constexpr int Longest = 30;
    switch (value.type()) {
    case QJsonValue::String: {
        const QString text = value.toString();
        return text.size() > Longest ? jsonString(text.left(Longest)) + QStringLiteral("...")
                                     : jsonString(text);
    }
    case QJsonValue::Double:
        return QString::number(value.toDouble());
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Array:
        return QCoreApplication::translate("ConfigFile", "a list");
    case QJsonValue::Object:
        return QCoreApplication::translate("ConfigFile", "an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

std::optional<int> wholeNumber(const QJsonValue& value, int lowest, int highest) {
    const double d = value.toDouble(-1);
    if (!value.isDouble() || d < lowest || d > highest || std::floor(d) != d)
        return std::nullopt;
    return int(d);
}

// "line L, column C" of a byte offset into UTF-8 text; columns count characters.
QString lineAndColumn(const QByteArray& bytes, qsizetype offset) {
    offset = qBound(qsizetype(0), offset, bytes.size());
    int line = 1;
    int column = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        if (bytes[i] == '\n') {
            ++line;
            column = 1;
        } else if ((uchar(bytes[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return QCoreApplication::translate("ConfigFile", "line %1, column %2").arg(line).arg(column);
}

// Checks a parsed file key by key, noting every problem, and fills in a
// configuration as it goes; the caller uses it only if no problem was found.
class Reader {
public:
    QStringList problems;

    ModemConfiguration read(const QJsonObject& root) {
        ModemConfiguration configuration;
        // With a foreign format or a newer version the other keys may mean
        // something else: judging them would only mislead.
        if (headerIsReadable(root)) {
            readInputs(root.value(QLatin1String("inputs")), configuration.inputs);
            readPhoneBook(root.value(QLatin1String("phoneBook")), configuration.phoneBook);
        }
        return configuration;
    }

private:
    void add(const QString& place, const QString& what) {
        problems += place + QStringLiteral(": ") + what;
    }

    // "missing; it must be X" or "must be X, not Y"
    void mustBe(const QString& place, const QJsonValue& value, const QString& what) {
        add(place, value.isUndefined()
                       ? QCoreApplication::translate("ConfigFile", "missing; it must be ") + what
                       : QCoreApplication::translate("ConfigFile", "must be ") + what +
                             QCoreApplication::translate("ConfigFile", ", not ") + shown(value));
    }

    bool headerIsReadable(const QJsonObject& root) {
        const qsizetype before = problems.size();
        const QJsonValue format = root.value(QLatin1String("format"));
        if (format.toString() != ConfigurationFormatName)
            mustBe(QStringLiteral("format"), format, jsonString(ConfigurationFormatName));

        const QJsonValue version = root.value(QLatin1String("version"));
        const double v = version.toDouble();
        if (!version.isDouble() || v < 1 || std::floor(v) != v) {
            mustBe(QStringLiteral("version"), version,
                   QCoreApplication::translate("ConfigFile", "a whole number from 1 up, such as %1")
                       .arg(ConfigurationFileVersion));
        } else if (v > ConfigurationFileVersion) {
            add(QStringLiteral("version"),
                QCoreApplication::translate(
                    "ConfigFile", "this file was written by a newer Tavek (version %1); this "
                                  "Tavek reads version %2")
                    .arg(QString::number(v, 'f', 0))
                    .arg(ConfigurationFileVersion));
        }
        return problems.size() == before;
    }

    void readInputs(const QJsonValue& value, InputsConfig& inputs) {
        const QString place = QStringLiteral("inputs");
        if (!value.isArray()) {
            mustBe(place, value,
                   QCoreApplication::translate("ConfigFile", "the list of the three alarm inputs"));
            return;
        }
        const QJsonArray list = value.toArray();
        std::array<bool, InputCount> seen{};
        for (qsizetype k = 0; k < list.size(); ++k) {
            const QString base = QStringLiteral("inputs[%1]").arg(k);
            if (!list[k].isObject()) {
                mustBe(base, list[k],
                       QCoreApplication::translate("ConfigFile",
                                                   "an object that describes one input"));
                continue;
            }
            const QJsonObject object = list[k].toObject();
            const QJsonValue number = object.value(QLatin1String("input"));
            const std::optional<int> n = wholeNumber(number, 1, InputCount);
            InputConfig unused;
            InputConfig* target = &unused;
            QString label;
            if (!n) {
                mustBe(base + QStringLiteral(".input"), number,
                       QCoreApplication::translate("ConfigFile", "1, 2 or 3"));
            } else {
                label = QCoreApplication::translate("ConfigFile", " (input %1)").arg(*n);
                if (seen[*n - 1])
                    add(base + QStringLiteral(".input"),
                        QCoreApplication::translate("ConfigFile", "input %1 is listed twice")
                            .arg(*n));
                else
                    target = &inputs[*n - 1];
                seen[*n - 1] = true;
            }
            readInput(object, base, label, *target);
        }
        for (int n = 1; n <= InputCount; ++n) {
            if (!seen[n - 1])
                add(place, QCoreApplication::translate("ConfigFile", "input %1 is missing").arg(n));
        }
    }

    void readInput(const QJsonObject& object, const QString& base, const QString& label,
                   InputConfig& input) {
        const auto place = [&](const char* key) { return base + u'.' + key + label; };
        readNamed(object, "status", place("status"), StatusNames, input.status);
        readNamed(object, "restState", place("restState"), RestStateNames, input.restState);
        readNamed(object, "bit", place("bit"), BitNames, input.bit);

        const QJsonValue delay = object.value(QLatin1String("delayMs"));
        const std::optional<int> ms = wholeNumber(delay, 0, MaxDelayIndex * DelayStepMs);
        if (ms && *ms % DelayStepMs == 0)
            input.delayIndex = *ms / DelayStepMs;
        else
            mustBe(
                place("delayMs"), delay,
                QCoreApplication::translate("ConfigFile", "0 (no delay), 100, 200, ... or 1000"));

        readMessage(object, "singleMessage", place("singleMessage"), input.singleMessage);
        readMessage(object, "doubleMessage", place("doubleMessage"), input.doubleMessage);
    }

    template <typename E, std::size_t N>
    void readNamed(const QJsonObject& object, const char* key, const QString& place,
                   const Named<E> (&names)[N], E& out) {
        const QJsonValue value = object.value(QLatin1String(key));
        for (const Named<E>& n : names) {
            if (value.isString() && value.toString() == QLatin1String(n.name)) {
                out = n.value;
                return;
            }
        }
        mustBe(place, value, choices(names));
    }

    // null is the box showing its placeholder.
    void readMessage(const QJsonObject& object, const char* key, const QString& place,
                     MessageText& out) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isNull()) {
            out = MessageText{PlaceholderText, true};
            return;
        }
        if (!value.isString()) {
            mustBe(place, value,
                   QCoreApplication::translate("ConfigFile",
                                               "a text in quotes, or null for no message"));
            return;
        }
        const QString text = value.toString();
        // Counted as the modem counts: one byte a character.
        if (characterCount(text) > StoredMessageMaxLength) {
            add(place, QCoreApplication::translate(
                           "ConfigFile", "is %1 characters long; a message holds at most %2")
                           .arg(characterCount(text))
                           .arg(StoredMessageMaxLength));
        }
        if (const auto uncarried = firstUncarriedCharacter(text)) {
            const QChar first = uncarried->character[0];
            if (isControlCharacter(first))
                add(place, QCoreApplication::translate(
                               "ConfigFile", "holds a control character (code %1) at character "
                                             "%2; it would break the modem's command line")
                               .arg(int(first.unicode()))
                               .arg(uncarried->number));
            else
                add(place,
                    QCoreApplication::translate("ConfigFile", "character %1 (%2) cannot be sent to "
                                                              "the modem")
                        .arg(uncarried->number)
                        .arg(jsonString(uncarried->character)));
        }
        out = MessageText{text, false};
    }

    void readPhoneBook(const QJsonValue& value, std::array<QString, PhoneBookSize>& phoneBook) {
        if (!value.isArray()) {
            mustBe(QStringLiteral("phoneBook"), value,
                   QCoreApplication::translate(
                       "ConfigFile", "the list of numbers, [] when every position is free"));
            return;
        }
        const QJsonArray list = value.toArray();
        std::array<bool, PhoneBookSize> seen{};
        for (qsizetype k = 0; k < list.size(); ++k) {
            const QString base = QStringLiteral("phoneBook[%1]").arg(k);
            if (!list[k].isObject()) {
                mustBe(base, list[k],
                       QCoreApplication::translate("ConfigFile",
                                                   "an object with a position and a number"));
                continue;
            }
            const QJsonObject object = list[k].toObject();
            const QJsonValue position = object.value(QLatin1String("position"));
            const std::optional<int> p = wholeNumber(position, 1, PhoneBookSize);
            bool first = false;
            QString label;
            if (!p) {
                mustBe(base + QStringLiteral(".position"), position,
                       QCoreApplication::translate("ConfigFile", "a whole number from 1 to %1")
                           .arg(PhoneBookSize));
            } else {
                label = QCoreApplication::translate("ConfigFile", " (position %1)").arg(*p);
                first = !seen[*p - 1];
                if (!first)
                    add(base + QStringLiteral(".position"),
                        QCoreApplication::translate("ConfigFile", "position %1 is listed twice")
                            .arg(*p));
                seen[*p - 1] = true;
            }

            const QString place = base + QStringLiteral(".number") + label;
            const QJsonValue number = object.value(QLatin1String("number"));
            if (!number.isString()) {
                mustBe(place, number,
                       QCoreApplication::translate(
                           "ConfigFile", "a number in quotes, such as \"+393351234567\""));
            } else if (number.toString().isEmpty()) {
                add(place, QCoreApplication::translate(
                               "ConfigFile", "is empty; leave the position out of the list to keep "
                                             "it free"));
            } else if (!isPhoneNumber(number.toString())) {
                add(place, shown(number) + u' ' + phoneNumberProblem(number.toString()));
            } else if (first) {
                phoneBook[*p - 1] = number.toString();
            }
        }
    }
};

QString listed(const QString& heading, const QStringList& problems) {
    QString text = heading;
    for (const QString& problem : problems)
        text += QStringLiteral("\n- ") + problem;
    return text;
}

} // namespace

QByteArray configurationFileText(const ModemConfiguration& configuration) {
    const auto field = [](const char* key, const QString& value, bool last = false) {
        return QStringLiteral("            \"") + QLatin1String(key) + QStringLiteral("\": ") +
               value + (last ? QStringLiteral("\n") : QStringLiteral(",\n"));
    };
    const auto message = [](const MessageText& m) {
        return m.isPlaceholder() ? QStringLiteral("null") : jsonString(m.text);
    };

    QString text = QStringLiteral("{\n    \"format\": ") + jsonString(ConfigurationFormatName) +
                   QStringLiteral(",\n    \"version\": %1,\n    \"inputs\": [\n")
                       .arg(ConfigurationFileVersion);
    for (int i = 0; i < InputCount; ++i) {
        const InputConfig& input = configuration.inputs[i];
        text += QStringLiteral("        {\n");
        text += field("input", QString::number(i + 1));
        text += field("status", jsonString(nameOf(StatusNames, input.status)));
        text += field("restState", jsonString(nameOf(RestStateNames, input.restState)));
        text += field("bit", jsonString(nameOf(BitNames, input.bit)));
        text += field("delayMs", QString::number(input.delayIndex * DelayStepMs));
        text += field("singleMessage", message(input.singleMessage));
        text += field("doubleMessage", message(input.doubleMessage), true);
        text += i + 1 < InputCount ? QStringLiteral("        },\n") : QStringLiteral("        }\n");
    }

    QStringList entries;
    for (int p = 1; p <= PhoneBookSize; ++p) {
        const QString& number = configuration.phoneBook[p - 1];
        if (!number.isEmpty())
            entries += QStringLiteral("        {\"position\": %1, \"number\": ").arg(p) +
                       jsonString(number) + u'}';
    }
    text += entries.isEmpty() ? QStringLiteral("    ],\n    \"phoneBook\": []\n}\n")
                              : QStringLiteral("    ],\n    \"phoneBook\": [\n") +
                                    entries.join(u",\n") + QStringLiteral("\n    ]\n}\n");
    return text.toUtf8();
}

ConfigurationFileReading readConfigurationFile(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return {std::nullopt,
                {lineAndColumn(bytes, error.offset) +
                 QCoreApplication::translate("ConfigFile", ": not valid JSON (%1)")
                     .arg(error.errorString())}};
    if (!document.isObject())
        return {std::nullopt,
                {QCoreApplication::translate(
                    "ConfigFile", "the file: must be one JSON object, {...}, not a list")}};
    // Which of two equal keys was meant cannot be told, and judging the one
    // Qt kept would only mislead: the repeated keys are the only problems.
    QStringList repeated;
    for (const RepeatedKey& key : repeatedKeys(bytes))
        repeated << QCoreApplication::translate("ConfigFile",
                                                "%1: given twice in the same object (again at "
                                                "%2); keep one of them")
                        .arg(key.place, lineAndColumn(bytes, key.offset));
    if (!repeated.isEmpty())
        return {std::nullopt, repeated};

    Reader reader;
    ModemConfiguration configuration = reader.read(document.object());
    if (!reader.problems.isEmpty())
        return {std::nullopt, reader.problems};
    return {std::move(configuration), {}};
}

QString problemsText(const QStringList& problems) {
    if (problems.isEmpty())
        return {};
    return listed(problems.size() == 1
                      ? QCoreApplication::translate(
                            "ConfigFile", "This is not a usable Tavek configuration file:")
                      : QCoreApplication::translate(
                            "ConfigFile", "This is not a usable Tavek configuration file (%1 "
                                          "problems):")
                            .arg(problems.size()),
                  problems);
}

bool saveConfigurationFile(const QString& path, const ModemConfiguration& configuration,
                           QString* error) {
    const QByteArray text = configurationFileText(configuration);
    const QStringList problems = readConfigurationFile(text).problems;
    if (!problems.isEmpty()) {
        if (error)
            *error = listed(QCoreApplication::translate(
                                "ConfigFile", "The configuration was not saved: its file would not "
                                              "open again."),
                            problems);
        return false;
    }
    QString reason;
    if (saveWhole(path, text, &reason))
        return true;
    if (error)
        *error = QCoreApplication::translate("ConfigFile", "Could not save %1: %2.")
                     .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

ConfigurationFileReading loadConfigurationFile(QIODevice& device, const QString& name) {
    // In pieces: a pipe gives what it has so far.
    QByteArray bytes;
    while (bytes.size() <= MaxFileBytes) {
        const QByteArray piece = device.read(MaxFileBytes + 1 - bytes.size());
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (auto* file = qobject_cast<QFileDevice*>(&device);
        file && file->error() != QFileDevice::NoError)
        return {std::nullopt,
                {QCoreApplication::translate("ConfigFile", "%1: cannot be read (%2)")
                     .arg(name, file->errorString())}};
    if (bytes.size() > MaxFileBytes)
        return {
            std::nullopt,
            {name + QCoreApplication::translate(
                        "ConfigFile", ": over 1 MB, far more than a configuration file holds")}};
    return readConfigurationFile(bytes);
}

ConfigurationFileReading loadConfigurationFile(const QString& path) {
    const QString name = QDir::toNativeSeparators(path);
    // Asked before opening: a pipe would hold the open until someone wrote into it.
    if (const QString reason = notAFileReason(path); !reason.isEmpty())
        return {std::nullopt,
                {QCoreApplication::translate("ConfigFile", "%1: cannot be read (%2)")
                     .arg(name, reason)}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt,
                {QCoreApplication::translate("ConfigFile", "%1: cannot be read (%2)")
                     .arg(name, file.errorString())}};
    return loadConfigurationFile(file, name);
}
