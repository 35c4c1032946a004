#include "app/RouterCall.h"

#include "app/OptionsPage.h"
#include "app/RouterCallDialog.h"
#include "app/RouterSettingsDialog.h"
#include "router/RouterDialHelper.h"
#include "router/RouterMessages.h"
#include "router/RouterPassword.h"
#include "router/Tr64Types.h"
#include "support/UserMessage.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>
#include <array>

RouterCall::RouterCall(OptionsPage* options, QWidget* window)
    : QObject(window), m_settings(RouterSettings::load(m_store)),
      m_password(new RouterPassword(this)), m_options(options), m_window(window) {
    m_options->setRouterChosen(m_settings.dialThroughRouter);
    connect(m_options, &OptionsPage::routerChoiceChanged, this, [this](bool chosen) {
        m_settings.dialThroughRouter = chosen;
        save();
    });
    connect(m_options, &OptionsPage::routerSettingsRequested, this, &RouterCall::openSettings);
}

void RouterCall::save() {
    if (m_settings.save(m_store))
        emit settingsChanged(m_settings);
    else
        UserMessage::error(m_window, QStringLiteral("Die Router-Einstellungen konnten nicht "
                                                    "gespeichert werden:\r%1")
                                         .arg(m_store.iniPath()));
}

void RouterCall::withPassword(std::function<void(const QString&)> use,
                              std::function<void()> declined, bool mayAsk) {
    m_password->read([this, use, declined, mayAsk](const std::optional<QString>& password,
                                                   const QString& noKeyStore) {
        if (password) {
            // Stored before the settings kept track of it.
            const bool fromKeyStore = !password->isEmpty() && !m_password->heldForThisRun();
            if (fromKeyStore && !m_settings.passwordStored)
                rememberPasswordStored();
            use(*password);
            return;
        }
        if (!mayAsk) {
            declined();
            return;
        }
        // Asked outside the key store's answer, which must run to its end first.
        QTimer::singleShot(0, this, [this, use, declined, noKeyStore] {
            bool ok = false;
            emit modalDialogOpenChanged(true);
            QString text = RouterMessages::PasswordPrompt.arg(
                m_settings.user.isEmpty() ? Tr64Target::PasswordOnlyUser : m_settings.user);
            if (!noKeyStore.isEmpty())
                text.prepend(RouterMessages::noKeyStore(noKeyStore) + QStringLiteral("\r\r"));
            const QString typed =
                QInputDialog::getText(m_window, QStringLiteral("Router"),
                                      text.replace(QLatin1Char('\r'), QLatin1Char('\n')),
                                      QLineEdit::Password, QString(), &ok);
            emit modalDialogOpenChanged(false);
            if (!ok) {
                declined();
                return;
            }
            m_password->keepForThisRun(typed);
            if (noKeyStore.isEmpty())
                m_password->write(typed, [this](bool stored, const QString&) {
                    if (stored)
                        rememberPasswordStored();
                });
            use(typed);
        });
    });
}

void RouterCall::withTarget(bool mayAsk, std::function<void(const Tr64Target&)> use,
                            std::function<void()> declined) {
    withPassword(
        [this, use](const QString& password) {
            use(RouterDialHelper::targetFor(m_settings, password));
        },
        std::move(declined), mayAsk);
}

bool RouterCall::retryAfter(const Tr64Result& result, QWidget* parent) {
    if (result.error == RouterError::LoginRefused)
        m_password->forgetThisRun();
    if (result.error != RouterError::CertificateUnknown)
        return false;
    emit modalDialogOpenChanged(true);
    const bool trusted = RouterSettingsDialog::confirmCertificate(parent, result.certificateSha256);
    emit modalDialogOpenChanged(false);
    if (!trusted)
        return false;
    m_settings.certificateSha256 = result.certificateSha256;
    save();
    return true;
}

void RouterCall::dial(const QString& digits, const QString& name) {
    if (m_dialog)
        m_dialog->close();
    auto* dialog = new RouterCallDialog(m_window);
    m_dialog = dialog;
    dialog->setEntry(name, digits);
    dialog->show();
    QPointer<RouterCallDialog> guard(dialog);
    withPassword(
        [this, guard, digits](const QString& password) { runDial(guard, digits, password); },
        [guard] {
            if (guard)
                guard->close();
        });
}

void RouterCall::runDial(QPointer<RouterCallDialog> dialog, const QString& digits,
                         const QString& password) {
    if (!dialog)
        return;
    // The helper belongs to the dialog: closing it drops whatever is still under way.
    auto* helper = new RouterDialHelper(RouterDialHelper::targetFor(m_settings, password), dialog);
    helper->dial(
        digits, m_settings.phone, [=, this](const Tr64Result& result, const QString& ringing) {
            QTimer::singleShot(0, dialog, [=, this] {
                if (result.error == RouterError::CertificateUnknown) {
                    if (!RouterSettingsDialog::confirmCertificate(dialog,
                                                                  result.certificateSha256)) {
                        dialog->close();
                        return;
                    }
                    m_settings.certificateSha256 = result.certificateSha256;
                    save();
                    runDial(dialog, digits, password);
                    return;
                }
                if (result.error == RouterError::LoginRefused)
                    m_password->forgetThisRun();
                if (!result.ok()) {
                    fail(dialog, RouterMessages::forError(result, m_settings.address, ringing));
                    return;
                }
                dialog->showStatus(RouterMessages::ringing(ringing, digits), true);
                connect(dialog, &RouterCallDialog::hangUpRequested, helper, [=, this] {
                    dialog->showStatus(RouterMessages::Connecting, false);
                    helper->hangUp([=, this](const Tr64Result& hangUp) {
                        QTimer::singleShot(0, dialog, [=, this] {
                            if (hangUp.ok())
                                dialog->close();
                            else
                                fail(dialog,
                                     RouterMessages::forError(hangUp, m_settings.address, ringing));
                        });
                    });
                });
            });
        });
}

void RouterCall::fail(QPointer<RouterCallDialog> dialog, const QString& message) {
    if (dialog)
        dialog->close();
    UserMessage::error(m_window, message);
}

void RouterCall::openSettings() {
    RouterSettings shown = m_settings;
    shown.passwordStored = m_settings.passwordStored || m_password->heldForThisRun();
    RouterSettingsDialog dialog(
        shown, [this](std::function<void(const QString&)> use) { withPassword(use, [] {}); },
        m_window);
    connect(&dialog, &RouterSettingsDialog::codesRead, this,
            [this](const QString& country, const QString& area) {
                m_options->Text1[2]->setText(country);
                m_options->Text1[3]->setText(area);
            });
    emit settingsDialogOpened(dialog.callMonitorBox());
    emit modalDialogOpenChanged(true);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    emit modalDialogOpenChanged(false);
    if (!accepted)
        return;
    const RouterSettings before = m_settings;
    m_settings = dialog.settings();
    m_settings.dialThroughRouter = before.dialThroughRouter;
    m_settings.passwordStored = before.passwordStored; // the dialog's may be this run's only
    save();
    const QString typed = dialog.typedPassword();
    if (typed.isEmpty())
        return;
    m_password->write(typed, [this](bool stored, const QString& why) {
        if (stored)
            rememberPasswordStored();
        else
            QTimer::singleShot(0, this, [this, why] {
                UserMessage::information(m_window, RouterMessages::noKeyStore(why));
            });
    });
}

void RouterCall::rememberPasswordStored() {
    m_settings.passwordStored = true;
    // Nothing the router's users need to hear about: no settingsChanged.
    m_settings.save(m_store);
}
