// The window in Italian: with the translation loaded for an Italian locale,
// every text a user sees in the main window and its boxes and dialogs is
// Italian; without it (the C locale) every one is the English text as it was.
// Each text is told by where it is (the widget's path and what it is: title,
// label, tool tip, accessible name...), so the Italian walk is compared with
// the English one place by place.
#include "WindowFixture.h"

#include "AboutWindow.h"
#include "Dialogs.h"
#include "MessageTextBox.h"
#include "ModemCommands.h"
#include "PhoneGrid.h"
#include "PortErrors.h"
#include "Translations.h"

#include <QAbstractButton>
#include <QFile>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTranslator>
#include <QtTest>

namespace {

using Texts = QMap<QString, QString>; // place -> text

QString placeOf(const QWidget* widget, const QWidget* top) {
    QStringList path;
    for (const QWidget* w = widget; w && w != top; w = w->parentWidget()) {
        QString name = w->objectName();
        if (name.isEmpty()) {
            const QObjectList siblings =
                w->parentWidget() ? w->parentWidget()->children() : QObjectList{};
            name = QString::fromLatin1(w->metaObject()->className()) + u'#' +
                   QString::number(siblings.indexOf(const_cast<QWidget*>(w)));
        }
        path.prepend(name);
    }
    return path.join(u'/');
}

// Every text a user sees or hears in a window: its title, and of each visible
// widget the caption, label, tool tip, accessible name and description, the
// entries of a list, the headings of a table (the phone grid's first row).
Texts visibleTexts(const QWidget& top) {
    Texts texts;
    const auto add = [&texts](const QString& place, const QString& text) {
        if (!text.trimmed().isEmpty())
            texts.insert(place, text);
    };
    add(QStringLiteral("title"), top.windowTitle());
    QList<const QWidget*> widgets{&top};
    for (const QWidget* w : top.findChildren<QWidget*>())
        widgets << w;
    for (const QWidget* w : widgets) {
        if (!w->isVisible())
            continue;
        const QString place = placeOf(w, &top);
        add(place + QStringLiteral(" tool tip"), w->toolTip());
        add(place + QStringLiteral(" accessible name"), w->accessibleName());
        add(place + QStringLiteral(" accessible description"), w->accessibleDescription());
        if (auto* label = qobject_cast<const QLabel*>(w))
            add(place + QStringLiteral(" text"), label->text());
        if (auto* button = qobject_cast<const QAbstractButton*>(w))
            add(place + QStringLiteral(" text"), button->text());
        if (auto* frame = qobject_cast<const QGroupBox*>(w))
            add(place + QStringLiteral(" title"), frame->title());
        if (auto* box = qobject_cast<const MessageTextBox*>(w); box && box->inPlaceholderColour())
            add(place + QStringLiteral(" placeholder"), box->text());
        if (auto* list = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < list->count(); ++i)
                add(place + QStringLiteral(" entry %1").arg(i), list->itemText(i));
        if (auto* table = qobject_cast<const QTableWidget*>(w);
            table && table->horizontalHeader()->isVisible())
            for (int c = 0; c < table->columnCount(); ++c)
                add(place + QStringLiteral(" heading %1").arg(c),
                    table->horizontalHeaderItem(c)->text());
        if (auto* grid = qobject_cast<const PhoneGrid*>(w))
            for (int c = 0; c < grid->columnCount(); ++c)
                add(place + QStringLiteral(" heading %1").arg(c), grid->cellText(0, c));
    }
    return texts;
}

// Texts that are the same in both languages: names, numbers, units, the
// port names, the maker's address.
bool sameInBothLanguages(const QString& text) {
    if (text.trimmed().isEmpty())
        return true;
    static const QRegularExpression numbersAndPorts(
        QStringLiteral("^(\\d+([.,:/ ]\\d+)*|Com \\d+|\\+\\d+)$"));
    static const QStringList words{QStringLiteral("Tavek"),
                                   QStringLiteral("TAVEK"),
                                   QStringLiteral(" Bit "),
                                   QStringLiteral("msec: "),
                                   QStringLiteral("Pos."),
                                   QStringLiteral("Software :"),
                                   QStringLiteral("Com"),
                                   QStringLiteral("OK"),
                                   QStringLiteral("&OK"),
                                   QStringLiteral("&No"),
                                   QStringLiteral("No"),
                                   maker::Company,
                                   maker::Street,
                                   maker::Town,
                                   maker::Country,
                                   maker::Telephone,
                                   maker::Fax,
                                   maker::HotLine,
                                   maker::Software,
                                   maker::WebText,
                                   maker::MailAddress};
    return numbersAndPorts.match(text).hasMatch() || words.contains(text);
}

void useLanguage(const QLocale& locale) {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>())
        delete translator; // takes itself off the application
    QLocale::setDefault(locale);
    installTranslations(*qApp, locale);
}

} // namespace

class ItalianTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    // What each window of the row shows, the window built and shown as the
    // user meets it, under the language in force.
    Texts textsOf(const QString& what) {
        window = shownWindow();
        if (!window)
            return {};
        if (what == QLatin1String("main window"))
            return visibleTexts(*window);
        if (what == QLatin1String("question of Set default settings")) {
            Texts texts;
            window->dialogs().confirm = [this, &texts](const QString& text) {
                std::unique_ptr<QMessageBox> box(createConfirmationBox(window.get(), text));
                box->show();
                texts = visibleTexts(*box);
                return false;
            };
            window->confirm(*findModemCommand(QStringLiteral("clear"))->question);
            return texts;
        }
        if (what == QLatin1String("Modem error box")) {
            Texts texts;
            window->dialogs().modemError = [this, &texts](const QString& text) {
                std::unique_ptr<QMessageBox> box(createModemErrorBox(window.get(), text));
                box->show();
                texts = visibleTexts(*box);
            };
            window->showModemError(noAnswerMessage(QStringLiteral("/dev/ttyUSB0"), 1));
            return texts;
        }
        // A toolbar command's window.
        clickToolbar(*window, what);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != window.get() && top->isVisible())
                return visibleTexts(*top);
        return {};
    }

    void addWindows() {
        QTest::addColumn<QString>("what");
        for (const char* what : {"main window", "about", "serial-ports", "modem-traffic",
                                 "question of Set default settings", "Modem error box"})
            QTest::newRow(what) << QString::fromLatin1(what);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() {
        window.reset();
        useLanguage(QLocale::c());
    }

    // Every text is the Italian one, or one of the few that read the same.
    void everyTextIsItalian_data() { addWindows(); }
    void everyTextIsItalian() {
        QFETCH(QString, what);
        useLanguage(QLocale::c());
        const Texts english = textsOf(what);
        window.reset();
        useLanguage(QLocale(QLocale::Italian, QLocale::Italy));
        const Texts italian = textsOf(what);
        QVERIFY(!english.isEmpty());
        QCOMPARE(italian.keys(), english.keys());
        QStringList untranslated;
        // Line by line: a box's text is several sentences, each translated.
        static const QRegularExpression lineBreaks(QStringLiteral("[\r\n]+"));
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            const QStringList englishLines = it.value().split(lineBreaks);
            const QStringList italianLines = italian.value(it.key()).split(lineBreaks);
            for (qsizetype i = 0; i < englishLines.size(); ++i) {
                const QString& line = englishLines[i];
                if (italianLines.value(i) == line && !sameInBothLanguages(line))
                    untranslated << it.key() + QStringLiteral(": ") + line;
            }
        }
        // Qt's own buttons ("Yes") are Italian only where Debian's Qt
        // translations are installed.
        const bool qtInItalian = QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                                               QStringLiteral("/qtbase_it.qm"));
        if (!qtInItalian)
            untranslated.removeIf([](const QString& t) { return t.endsWith(u"&Yes"); });
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(u'\n')));
    }

    // The placeholder is shown in Italian, but the model and the modem keep
    // its own words: a Double box showing it sends them, in any language.
    void placeholderIsItalianOnTheScreenOnly() {
        useLanguage(QLocale(QLocale::Italian, QLocale::Italy));
        MessageTextBox box;
        box.setMessage({PlaceholderText, true});
        QCOMPARE(box.text(), QStringLiteral("Scrivere qui il messaggio"));
        QCOMPARE(box.message(), (MessageText{PlaceholderText, true}));
        QVERIFY(box.message().isPlaceholder());
        box.setInPlaceholderColour(false); // the same words typed are a message
        QCOMPARE(box.message(), (MessageText{QStringLiteral("Scrivere qui il messaggio"), false}));
    }

    // Without a translation (the C locale, or a language Tavek does not
    // speak) the texts are the English ones, misspellings and all.
    void englishStaysAsItWas_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("text");
        QTest::newRow("status line") << "main window"
                                     << "StatusBar1_panel1 text"
                                     << "Modem Disconnected";
        QTest::newRow("option") << "main window"
                                << "optI1Active_1 text"
                                << "Disactive";
        QTest::newRow("option, misspelt") << "main window"
                                          << "optBit2_0 text"
                                          << "Single (recomended)";
        QTest::newRow("toolbar button") << "main window"
                                        << "clear tool tip"
                                        << "Set default settings";
        QTest::newRow("toolbar button, misspelt") << "main window"
                                                  << "relay-on tool tip"
                                                  << "Set reley on";
        QTest::newRow("question") << "question of Set default settings"
                                  << "title"
                                  << "Setting Reset";
        QTest::newRow("error box") << "Modem error box"
                                   << "title"
                                   << "Modem error";
        QTest::newRow("about") << "about"
                               << "title"
                               << "About Tavek...";
        QTest::newRow("ports") << "serial-ports"
                               << "refresh text"
                               << "Refresh";
        QTest::newRow("traffic") << "modem-traffic"
                                 << "title"
                                 << "Modem traffic";
    }
    void englishStaysAsItWas() {
        QFETCH(QString, what);
        QFETCH(QString, place);
        QFETCH(QString, text);
        QVERIFY(!installTranslations(*qApp, QLocale::c()));
        QVERIFY(!installTranslations(*qApp, QLocale(QLocale::German, QLocale::Germany)));
        const Texts english = textsOf(what);
        // The widget by its own name, wherever the window's layout puts it.
        const QStringList places =
            QStringList(english.keys())
                .filter(QRegularExpression(QStringLiteral("(^|/)") +
                                           QRegularExpression::escape(place) + u'$'));
        QCOMPARE(places.size(), 1);
        QCOMPARE(english.value(places.first()), text);
    }
};

QTEST_MAIN(ItalianTest)
#include "tst_italian.moc"
