#pragma once

#include <QSlider>

// A horizontal slider that also draws a selected range of its values on the groove, and
// tells which modifier keys were held when a mouse button went down on it or a key moved it.
class TimeSlider : public QSlider {
    Q_OBJECT
public:
    explicit TimeSlider(QWidget* parent = nullptr);

    int selectionStart() const { return m_selectionStart; }
    int selectionLength() const { return m_selectionLength; }
    void setSelectionStart(int value);
    void setSelectionLength(int length);

signals:
    // Before the press or the key moves the thumb.
    void pressed(Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_selectionStart = 0;
    int m_selectionLength = 0;
};
