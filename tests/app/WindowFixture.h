#pragma once

#include "ModalWatcher.h"
#include "app/MainWindow.h"

#include <QFile>
#include <QTemporaryDir>
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
        window = std::make_unique<MainWindow>(folder());
        const bool loaded = window->Form_Load();
        if (loaded && !window->isVisible())
            window->show();
        return loaded;
    }
};

inline const QByteArray FirstStartFile =
    "[KURBELFON VERSION 4]\r\n"
    "0,1,0,0,\"\",0,\"00\",\"49\",\"89\",12,\"\",\"\",0\r\n"
    "\"B\xFCro 1\",\"B\xFCro 2\",\"Privat 1\",\"Privat 2\"\r\n";
