// The yardstick for the program's first frame: a Qt Widgets window with a tab bar and a list,
// nothing else, built and started the same way.
#include <QApplication>
#include <QListWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Kurbelfon"));
    auto* layout = new QVBoxLayout(&window);
    auto* tabs = new QTabBar;
    for (const char* name : {"Büro 1", "Büro 2", "Privat 1", "Privat 2", "Optionen"})
        tabs->addTab(QString::fromUtf8(name));
    auto* list = new QListWidget;
    for (int i = 0; i < 500; ++i)
        list->addItem(QStringLiteral("Teilnehmer %1").arg(i));
    layout->addWidget(tabs);
    layout->addWidget(list);
    window.resize(600, 420);
    window.show();
    return app.exec();
}
