#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/UnixSignalWatcher.h"
#include "support/FileSaver.h"
#include "support/GermanTranslation.h"
#include "support/Paths.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kurbelfon"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    // A tray program must not end when its last message box closes.
    QApplication::setQuitOnLastWindowClosed(false);
    installGermanTranslation(app);

    SingleInstance instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    if (!instance.acquire())
        return instance.activateRunning() ? 0 : 1;

    // Holding the lock, nobody else can be saving here: what a killed save left is garbage.
    for (const char* dataFile : {"Telefonregister.ini", "Provider.ini"})
        FileSaver::removeLeftovers(Paths::ProgramFolder() + QLatin1String(dataFile));

    UnixSignalWatcher signalWatcher;
    MainWindow window(Paths::ProgramFolder());
    QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                     &MainWindow::bringToFront);
    QObject::connect(&window, &MainWindow::unloaded, &app, &QCoreApplication::quit);
    QObject::connect(&signalWatcher, &UnixSignalWatcher::terminationRequested, &window,
                     &MainWindow::Unload);
    // Logging off ends the program like "&Ende".
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &MainWindow::Unload);

    if (!window.Form_Load())
        return 1;
    // Ended by a signal while a start-up message was still open.
    if (window.isUnloaded())
        return 0;
    if (!window.isVisible())
        window.show();
    const int result = app.exec();
    window.Unload();
    return result;
}
