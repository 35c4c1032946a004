#pragma once

#include "router/RouterSettings.h"
#include "router/Tr64Client.h"

#include <QDialog>
#include <functional>

class CallMonitorSettingsBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class RouterDialHelper;

// "Router": where the router is, as whom to log in, which telephone rings; a connection test
// and taking the own codes over from the router. Nothing is stored until "OK".
class RouterSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // Hands the stored password to the function it is given (asking for it where no key store
    // holds it); it may never call it when the user declines.
    using PasswordSource = std::function<void(std::function<void(const QString&)>)>;

    RouterSettingsDialog(const RouterSettings& settings, PasswordSource passwordSource,
                         QWidget* parent = nullptr);

    RouterSettings settings() const;
    // Empty: the stored password stays.
    QString typedPassword() const;
    // Further groups of router settings go here, below the dial helper's.
    QVBoxLayout* extraBoxes() const { return m_extraBoxes; }
    CallMonitorSettingsBox* callMonitorBox() const { return m_callMonitor; }

    // The first TLS contact: shows the fingerprint and asks. true: trust it. server: another
    // server than the router, as the user named it.
    static bool confirmCertificate(QWidget* parent, const QString& sha256Hex,
                                   const QString& server = QString());

signals:
    void codesRead(const QString& countryCode, const QString& areaCode);

private:
    void testConnection();
    void takeCodes();
    void withHelper(std::function<void(RouterDialHelper*)> use);
    // true when the result was handled: a confirmed certificate retries, anything else is shown.
    bool handledFailure(const Tr64Result& result, const std::function<void()>& retry);
    void showCertificate();
    void setBusy(bool busy);

    RouterSettings m_settings;
    PasswordSource m_passwordSource;
    QLineEdit* m_address;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_plainHttp;
    QLabel* m_plainWarning;
    QComboBox* m_phone;
    QLabel* m_certificate;
    QPushButton* m_forget;
    QPushButton* m_test;
    QPushButton* m_codes;
    QVBoxLayout* m_extraBoxes;
    CallMonitorSettingsBox* m_callMonitor;
};
