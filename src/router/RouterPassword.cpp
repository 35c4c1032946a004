#include "router/RouterPassword.h"

#include "router/KeyStoreModule.h"
#include "support/ProgramModule.h"

const QString RouterPassword::Service = QStringLiteral("Kurbelfon");
const QString RouterPassword::Key = QStringLiteral("Router");

namespace {

// QtKeychain is loaded with the first look into the key store, not before the first frame.
template <typename Function> Function* keyStoreFunction(const char* symbol, QString* missing) {
    ProgramModule module(KeyStoreModuleName);
    auto* function = module.resolveAs<Function>(symbol);
    if (!function)
        *missing = module.errorString();
    return function;
}

} // namespace

RouterPassword::RouterPassword(QObject* parent, const QString& key) : QObject(parent), m_key(key) {}

void RouterPassword::read(ReadDone done) {
    if (m_thisRun || m_refused) {
        done(m_thisRun, QString());
        return;
    }
    QString missing;
    auto* readSecret = keyStoreFunction<ReadSecretFunction>(ReadSecretSymbol, &missing);
    if (!readSecret) {
        done(m_thisRun, missing);
        return;
    }
    readSecret(Service, m_key, this,
               [this, done](KeyStoreResult result, const QString& text, const QString& error) {
                   switch (result) {
                   case KeyStoreResult::Done:
                       done(text, QString());
                       break;
                   case KeyStoreResult::NotFound:
                       // A key store without our entry: ask, never log in with an empty one.
                       done(m_thisRun, QString());
                       break;
                   case KeyStoreResult::Failed:
                       done(m_thisRun, error);
                       break;
                   }
               });
}

void RouterPassword::write(const QString& password, WriteDone done) {
    QString missing;
    auto* writeSecret = keyStoreFunction<WriteSecretFunction>(WriteSecretSymbol, &missing);
    if (!writeSecret) {
        m_thisRun = password;
        done(false, missing);
        return;
    }
    writeSecret(
        Service, m_key, password, this,
        [this, password, done](KeyStoreResult result, const QString&, const QString& error) {
            if (result == KeyStoreResult::Done) {
                m_thisRun.reset();
                m_refused = false;
                done(true, QString());
                return;
            }
            m_thisRun = password;
            done(false, error);
        });
}
