#pragma once

#include <QLabel>

// A label that acts as a link: the palette's link colour, underlined, a hand
// pointer, and the whole label answers a click (or Enter and Space when it
// has the focus).
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QFont font, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
