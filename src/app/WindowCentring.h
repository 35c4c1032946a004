#pragma once

#include <QObject>
#include <QSize>

class QMargins;
class QWidget;

// Fits a fixed-size window into the free area of its screen and centres it there when it is
// first shown, and once more when the window manager has framed it: only then is the frame
// known, and it is the whole frame that must fit. A window too big for the area shrinks to it,
// down to what its layout needs; one that still does not fit opens at the area's top left, so
// that its title bar can be reached.
class WindowCentring : public QObject {
    Q_OBJECT
public:
    explicit WindowCentring(QWidget* window);

    // From the window's showEvent.
    void shown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centre(const QMargins& frameMargins);

    QWidget* m_window;
    QSize m_natural; // the size the window's layout asked for
    bool m_centred = false;
    bool m_frameCentred = false;
};
