#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>

class QLabel;
class QToolButton;
class LinkLabel;

// The maker's lines of the About window. The program's own, fictitious
// maker: every address is in a domain reserved for examples.
namespace maker {
inline const QString Company = QStringLiteral("Tavek Modem Works");
inline const QString Street = QStringLiteral("12 Example Road");
inline const QString Town = QStringLiteral("Sampleton");
inline const QString Country = QStringLiteral("Exampleland");
inline const QString Telephone = QStringLiteral("Tel. +00 000 000 0000");
inline const QString Fax = QStringLiteral("Fax +00 000 000 0001");
inline const QString HotLine = QStringLiteral("Hot line 000 000 0002");
inline const QString Software = QStringLiteral("Tavek Modem Works, tools team");
inline const QString WebAddress = QStringLiteral("https://www.example.com/");
inline const QString WebText = QStringLiteral("www.example.com");
inline const QString MailAddress = QStringLiteral("support@example.org");
} // namespace maker

// "About Tavek...": product, version, description and the maker's contact
// lines with a web and a mail link. It does not block its owner.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* owner);

    // Asks the desktop to open an address; the outcome is of no interest.
    // Replaceable so that a test sees the address without a browser.
    std::function<void(const QUrl&)> openLink;

    static QUrl webUrl();
    static QUrl mailUrl();

protected:
    void showEvent(QShowEvent* event) override;
    // Esc closes the window, as it closes a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* addLabel(const QString& name, const QString& text, QRect place, const QFont& font);

    bool centred_ = false;
};
