#include "support/ProgramModule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

ProgramModule::ProgramModule(const char* name) : m_name(QString::fromLatin1(name)) {}

QString ProgramModule::Folder() {
    // The fuzz targets run without an application object.
    const QString programFolder = QCoreApplication::instance()
                                      ? QCoreApplication::applicationDirPath()
                                      : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return programFolder + QStringLiteral("/modules");
}

QFunctionPointer ProgramModule::resolve(const char* symbol) {
    QLibrary library(Folder() + QStringLiteral("/lib") + m_name + QStringLiteral(".so"));
    library.setLoadHints(QLibrary::PreventUnloadHint);
    if (!library.load()) {
        m_error = library.errorString();
        return nullptr;
    }
    const QFunctionPointer function = library.resolve(symbol);
    m_error = function ? QString() : library.errorString();
    return function;
}

QFunctionPointer ProgramModule::resolvePart(const char* name, const char* symbol,
                                            const QString& part, QString* missing) {
    ProgramModule module(name);
    const QFunctionPointer function = module.resolve(symbol);
    if (!function) {
        *missing = QStringLiteral("Die %1 des Programms fehlt: %2").arg(part, module.errorString());
        qWarning("%s", qPrintable(*missing));
    }
    return function;
}
