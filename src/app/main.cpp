#include "app/AfterFirstFrame.h"
#include "app/CallHistory.h"
#include "app/CallMonitorSettingsBox.h"
#include "app/ContextMenuKey.h"
#include "app/IncomingCalls.h"
#include "app/MainWindow.h"
#include "app/RouterCall.h"
#include "app/SingleInstance.h"
#include "app/UnixSignalWatcher.h"
#include "contacts/PhoneNumbers.h"
#include "dialing/LinkDialer.h"
#include "support/DataFolder.h"
#include "support/FileSaver.h"
#include "support/GermanTranslation.h"
#include "support/Paths.h"
#include "support/UserMessage.h"

#include <QApplication>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

namespace {

// Qt's Wayland platform has no tray clicks, no menu at the mouse and no way to the front: on a
// Wayland session the program runs on X11 through Xwayland, unless the user named a platform.
bool chooseX11() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    // Wayland after all when the X server does not answer (a DISPLAY left over).
    qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool choseX11 = chooseX11();
    QApplication app(argc, argv);
    // What the program opens (a browser, a mail program) chooses for itself.
    if (choseX11)
        qunsetenv("QT_QPA_PLATFORM");
    QApplication::setApplicationName(QStringLiteral("Kurbelfon"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    // Ties the windows to the launcher kurbelfon.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("kurbelfon"));
    // Reading the eight pictures took an eighth of the start: the icon follows the first frame.
    AfterFirstFrame::run(&app, [] {
        QIcon icon;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
            icon.addFile(QStringLiteral(":/icons/kurbelfon-%1.png").arg(size), QSize(size, size));
        QApplication::setWindowIcon(icon);
    });
    // A tray program must not end when its last message box closes.
    QApplication::setQuitOnLastWindowClosed(false);
    installGermanTranslation(app);
    new ContextMenuKey(&app);

    // One tel:/callto: link is dialed; any other argument ("/AUTOSTART" too) changes nothing.
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString link = arguments.size() == 1 && PhoneNumbers::IsPhoneLink(arguments.first())
                             ? arguments.first()
                             : QString();

    SingleInstance instance(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    if (!instance.acquire()) {
        const bool answered =
            link.isEmpty() ? instance.activateRunning() : instance.handOverLink(link);
        return answered ? 0 : 1;
    }
    // Listening loads the network module, which the first frame does not need.
    AfterFirstFrame::run(&instance, [&instance] { instance.listen(); });

    const QString dataFolder = DataFolder::ForThisStart();
    // Holding the lock, nobody else can be saving here: what a killed save left is garbage.
    for (const char* dataFile : {"Telefonregister.ini", "Provider.ini"})
        FileSaver::removeLeftovers(dataFolder + QLatin1String(dataFile));

    UnixSignalWatcher signalWatcher;
    MainWindow window(Paths::ProgramFolder(), dataFolder);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                     &MainWindow::bringToFront);
    QObject::connect(&window, &MainWindow::unloaded, &app, &QCoreApplication::quit);
    LinkDialer linkDialer(window.phoneRegister(), window.entryDialer());
    // A message box counts as a dialog: "Anwahl" must not open over it.
    linkDialer.setBusyCheck([&window] {
        return window.ModalDialogOpen() || window.Loading() || QApplication::activeModalWidget();
    });
    QObject::connect(&linkDialer, &LinkDialer::linkRejected, &window,
                     [&window](const QString& message) { UserMessage::error(&window, message); });
    QObject::connect(&instance, &SingleInstance::linkReceived, &window, &MainWindow::bringToFront);
    QObject::connect(&instance, &SingleInstance::linkReceived, &linkDialer, &LinkDialer::dialLink,
                     Qt::QueuedConnection);
    // A signal ends the program like "&Ende", but without waiting for an open info dialog.
    auto endNow = [&] {
        window.Unload();
        // quit() does nothing before app.exec(): a start-up message's own loop must end too.
        QCoreApplication::exit(0);
    };
    QObject::connect(&signalWatcher, &UnixSignalWatcher::terminationRequested, &window, endNow);
    // A session manager asks for the data at every checkpoint, not only at logout: ending here
    // would end a call in the middle. The end of the session arrives as a quit (app.exec
    // returns), or as SIGTERM/SIGHUP.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &MainWindow::commitData);

    if (!window.Form_Load())
        return 1;
    // Ended by a signal while a start-up message was still open.
    if (window.isUnloaded())
        return 0;
    if (!window.isVisible())
        window.show();
    IncomingCalls incomingCalls(&window, &linkDialer);
    QObject::connect(window.routerCall(), &RouterCall::settingsChanged, &incomingCalls,
                     &IncomingCalls::applySettings);
    QObject::connect(window.routerCall(), &RouterCall::settingsDialogOpened, &incomingCalls,
                     [&incomingCalls](CallMonitorSettingsBox* box) {
                         box->setStateText(incomingCalls.stateText());
                         QObject::connect(&incomingCalls, &IncomingCalls::stateChanged, box,
                                          &CallMonitorSettingsBox::setStateText);
                     });
    CallHistory callHistory(&window, &incomingCalls);
    if (!link.isEmpty())
        QTimer::singleShot(0, &linkDialer, [&] { linkDialer.dialLink(link); });
    const int result = app.exec();
    window.Unload();
    return result;
}
