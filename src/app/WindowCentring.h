#pragma once

#include <QObject>

class QMargins;
class QWidget;

// Centres a window on its screen when it is first shown, and once more when the window manager
// has framed it: only then is the frame known, and it is the whole frame that is centred.
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
    bool m_centred = false;
    bool m_frameCentred = false;
};
