#pragma once

#include <QFunctionPointer>
#include <QString>
#include <memory>

// A part of the program kept in a library of its own beside the executable and loaded when it is
// first needed: the libraries it brings would otherwise be loaded and relocated before the first
// frame. A module, once loaded, stays loaded.
class ProgramModule {
public:
    // name: the file's name without "lib" and ".so", e.g. "kurbelfon-sound".
    explicit ProgramModule(const char* name);

    // The named function, or nullptr; errorString() then says why.
    QFunctionPointer resolve(const char* symbol);
    template <typename Function> Function* resolveAs(const char* symbol) {
        return reinterpret_cast<Function*>(resolve(symbol));
    }
    QString errorString() const { return m_error; }

    // For a part of the program the user asked for (part: "Klangausgabe", ...): when the module
    // or its function is missing, *missing says so in words for the user and the log.
    static QFunctionPointer resolvePart(const char* name, const char* symbol, const QString& part,
                                        QString* missing);
    template <typename Function>
    static Function* resolvePartAs(const char* name, const char* symbol, const QString& part,
                                   QString* missing) {
        return reinterpret_cast<Function*>(resolvePart(name, symbol, part, missing));
    }
    // A part whose interface names its module and factory (ModuleName, CreateSymbol,
    // CreateFunction); null when it is missing.
    template <typename Part, typename... Arguments>
    static std::unique_ptr<Part> createPart(const QString& part, QString* missing,
                                            const Arguments&... arguments) {
        auto* create = resolvePartAs<typename Part::CreateFunction>(
            Part::ModuleName, Part::CreateSymbol, part, missing);
        return std::unique_ptr<Part>(create ? create(arguments...) : nullptr);
    }

    // Where the modules lie: modules/ beside the running executable (a copied program folder
    // too).
    static QString Folder();

private:
    QString m_name;
    QString m_error;
};
