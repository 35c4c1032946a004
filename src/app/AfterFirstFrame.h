#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

// Work the first frame does not need (pictures, the tray icon) waits until the program has
// drawn its first window, the main window or a message box before it: the user sees the
// window sooner, and the same window a moment later.
class AfterFirstFrame : public QObject {
    Q_OBJECT
public:
    // Runs `work` once the first frame is drawn, in the order given (soon, if it already is);
    // not at all if `context` is gone by then.
    static void run(QObject* context, std::function<void()> work);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AfterFirstFrame();
    void runAll();

    struct Work {
        QPointer<QObject> context;
        std::function<void()> work;
    };
    std::vector<Work> m_waiting;
    bool m_drawn = false;
};
