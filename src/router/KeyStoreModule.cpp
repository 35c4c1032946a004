// A library of its own, loaded when the router password is first needed (see ProgramModule).
#include "router/KeyStoreModule.h"

#include <QObject>
#include <qt6keychain/keychain.h>
#include <type_traits>

namespace {

template <typename Job> void finishWith(Job* job, QObject* context, KeyStoreDone done) {
    QObject::connect(job, &QKeychain::Job::finished, context, [job, done] {
        switch (job->error()) {
        case QKeychain::NoError:
            if constexpr (std::is_same_v<Job, QKeychain::ReadPasswordJob>)
                done(KeyStoreResult::Done, job->textData(), QString());
            else
                done(KeyStoreResult::Done, QString(), QString());
            break;
        case QKeychain::EntryNotFound:
            done(KeyStoreResult::NotFound, QString(), QString());
            break;
        default:
            done(KeyStoreResult::Failed, QString(), job->errorString());
            break;
        }
    });
    job->start();
}

} // namespace

extern "C" Q_DECL_EXPORT void kurbelfonReadSecret(const QString& service, const QString& key,
                                                  QObject* context, KeyStoreDone done) {
    auto* job = new QKeychain::ReadPasswordJob(service, context);
    job->setKey(key);
    finishWith(job, context, std::move(done));
}

extern "C" Q_DECL_EXPORT void kurbelfonWriteSecret(const QString& service, const QString& key,
                                                   const QString& text, QObject* context,
                                                   KeyStoreDone done) {
    auto* job = new QKeychain::WritePasswordJob(service, context);
    job->setKey(key);
    job->setTextData(text);
    finishWith(job, context, std::move(done));
}
