#pragma once

#include "ModalWatcher.h"
#include "app/MainWindow.h"
#include "app/WindowHiding.h"
#include "register/RegisterTestData.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A program folder of its own and a main window loaded from it, as a start would.
struct WindowFixture {
    QTemporaryDir dir;
    ModalWatcher modals;
    std::unique_ptr<MainWindow> window;

    QString folder() const { return dir.path() + QLatin1Char('/'); }
    QString path(const QString& name) const { return dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    QByteArray read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool start() {
        // The offscreen platform has no notification area: the window would be minimised.
        WindowHiding::trayAvailable = [] { return true; };
        window = std::make_unique<MainWindow>(folder());
        const bool loaded = window->Form_Load();
        if (loaded && !window->isVisible())
            window->show();
        return loaded;
    }

    // The window as the active one, so the focus can be followed.
    bool startActive() {
        if (!start())
            return false;
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowActive(window.get());
    }
};

inline const QByteArray FirstStartFile = RegisterTestData::FirstStart;
