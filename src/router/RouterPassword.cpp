#include "router/RouterPassword.h"

#include <qt6keychain/keychain.h>

const QString RouterPassword::Service = QStringLiteral("Kurbelfon");
const QString RouterPassword::Key = QStringLiteral("Router");

RouterPassword::RouterPassword(QObject* parent) : QObject(parent) {}

void RouterPassword::read(ReadDone done) {
    if (m_thisRun) {
        done(m_thisRun, QString());
        return;
    }
    auto* job = new QKeychain::ReadPasswordJob(Service, this);
    job->setKey(Key);
    connect(job, &QKeychain::Job::finished, this, [this, job, done] {
        switch (job->error()) {
        case QKeychain::NoError:
            done(job->textData(), QString());
            break;
        case QKeychain::EntryNotFound:
            // A key store without our entry: no password was ever set.
            done(QString(), QString());
            break;
        default:
            done(m_thisRun, job->errorString());
            break;
        }
    });
    job->start();
}

void RouterPassword::write(const QString& password, WriteDone done) {
    auto* job = new QKeychain::WritePasswordJob(Service, this);
    job->setKey(Key);
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this, [this, job, password, done] {
        if (job->error() == QKeychain::NoError) {
            m_thisRun.reset();
            done(true, QString());
            return;
        }
        m_thisRun = password;
        done(false, job->errorString());
    });
    job->start();
}
