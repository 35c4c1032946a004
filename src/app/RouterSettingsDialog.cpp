#include "app/RouterSettingsDialog.h"

#include "app/CallMonitorSettingsBox.h"

#include "router/RouterDialHelper.h"
#include "router/RouterMessages.h"
#include "support/UserMessage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QLineEdit* makeField(QWidget* parent, const QString& objectName, const QString& text) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(objectName);
    return field;
}
} // namespace

RouterSettingsDialog::RouterSettingsDialog(const RouterSettings& settings,
                                           PasswordSource passwordSource, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_passwordSource(std::move(passwordSource)) {
    setObjectName(QStringLiteral("RouterSettingsDialog"));
    setWindowTitle(QStringLiteral("Router"));
    auto* box = new QGroupBox(QStringLiteral("Wählhilfe"), this);
    m_address = makeField(box, QStringLiteral("RouterAddress"), settings.address);
    m_user = makeField(box, QStringLiteral("RouterUser"), settings.user);
    m_user->setPlaceholderText(RouterMessages::PasswordOnlyUserHint);
    m_password = makeField(box, QStringLiteral("RouterPassword"), QString());
    m_password->setEchoMode(QLineEdit::Password);
    // Before any password was stored there is nothing to leave unchanged.
    if (settings.passwordStored)
        m_password->setPlaceholderText(QStringLiteral("(unverändert)"));
    m_plainHttp = new QCheckBox(QStringLiteral("Nur &HTTP, ohne Verschlüsselung"), box);
    m_plainHttp->setObjectName(QStringLiteral("RouterPlainHttp"));
    m_plainHttp->setChecked(settings.plainHttp);
    m_plainWarning = new QLabel(RouterMessages::PlainHttpWarning, box);
    m_plainWarning->setWordWrap(true);
    m_plainWarning->setStyleSheet(QStringLiteral("color: #b00000"));
    m_plainWarning->setVisible(settings.plainHttp);
    m_phone = new QComboBox(box);
    m_phone->setObjectName(QStringLiteral("RouterPhone"));
    if (!settings.phone.isEmpty())
        m_phone->addItem(settings.phone);
    m_certificate = new QLabel(box);
    m_certificate->setTextFormat(Qt::PlainText);
    m_certificate->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for a line of the fingerprint from the start: trusting one does not widen the dialog.
    m_certificate->setMinimumWidth(
        m_certificate->fontMetrics().horizontalAdvance(QStringLiteral("DD:DD:DD:DD:DD:DD:DD:DD")));
    m_forget = new QPushButton(QStringLiteral("Zertifikat ver&gessen"), box);
    m_test = new QPushButton(QStringLiteral("&Verbindung testen"), box);
    m_test->setObjectName(QStringLiteral("RouterTestButton"));
    m_codes = new QPushButton(QStringLiteral("Vorwahlen vom &Router übernehmen"), box);
    m_codes->setObjectName(QStringLiteral("RouterCodesButton"));
    for (QPushButton* button : {m_forget, m_test, m_codes})
        button->setAutoDefault(false);

    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("A&dresse"), m_address);
    form->addRow(QStringLiteral("&Benutzer"), m_user);
    form->addRow(QStringLiteral("&Kennwort"), m_password);
    form->addRow(QString(), m_plainHttp);
    form->addRow(QString(), m_plainWarning);
    form->addRow(QStringLiteral("&Telefon"), m_phone);
    auto* certificateRow = new QHBoxLayout;
    certificateRow->addWidget(m_certificate, 1);
    certificateRow->addWidget(m_forget);
    form->addRow(QStringLiteral("Zertifikat"), certificateRow);
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_test);
    actions->addWidget(m_codes);
    form->addRow(actions);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_extraBoxes = new QVBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(m_extraBoxes);
    m_callMonitor = new CallMonitorSettingsBox(this);
    m_callMonitor->load(settings);
    m_extraBoxes->addWidget(m_callMonitor);
    layout->addWidget(buttons);

    showCertificate();
    connect(m_plainHttp, &QCheckBox::toggled, m_plainWarning, &QLabel::setVisible);
    connect(m_forget, &QPushButton::clicked, this, [this] {
        m_settings.certificateSha256.clear();
        showCertificate();
    });
    connect(m_test, &QPushButton::clicked, this, &RouterSettingsDialog::testConnection);
    connect(m_codes, &QPushButton::clicked, this, &RouterSettingsDialog::takeCodes);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

RouterSettings RouterSettingsDialog::settings() const {
    RouterSettings s = m_settings;
    s.address = m_address->text().trimmed();
    if (s.address.isEmpty())
        s.address = RouterSettings::DefaultAddress;
    // Another router has another certificate.
    if (s.address != m_settings.address)
        s.certificateSha256.clear();
    s.user = m_user->text().trimmed();
    s.phone = m_phone->currentText();
    s.plainHttp = m_plainHttp->isChecked();
    m_callMonitor->store(s);
    return s;
}

QString RouterSettingsDialog::typedPassword() const {
    return m_password->text();
}

bool RouterSettingsDialog::confirmCertificate(QWidget* parent, const QString& sha256Hex,
                                              const QString& server) {
    if (!server.isEmpty())
        return UserMessage::askYesNo(parent, QStringLiteral("Zertifikat des Servers"),
                                     RouterMessages::certificateQuestion(sha256Hex, server));
    return UserMessage::askYesNo(parent, RouterMessages::CertificateTitle,
                                 RouterMessages::certificateQuestion(sha256Hex));
}

void RouterSettingsDialog::showCertificate() {
    QString shown = m_settings.certificateSha256.isEmpty()
                        ? QStringLiteral("noch keines bestätigt")
                        : Tr64Client::readableFingerprint(m_settings.certificateSha256);
    // On one line the 32 pairs widened the dialog past a small screen: four lines of eight.
    constexpr qsizetype LineLength = 8 * 3;
    if (!m_settings.certificateSha256.isEmpty()) {
        for (qsizetype colon = LineLength - 1; colon < shown.size(); colon += LineLength)
            shown[colon] = QLatin1Char('\n');
    }
    m_certificate->setText(shown);
    m_forget->setEnabled(!m_settings.certificateSha256.isEmpty());
}

void RouterSettingsDialog::setBusy(bool busy) {
    m_test->setEnabled(!busy);
    m_codes->setEnabled(!busy);
    setCursor(busy ? Qt::BusyCursor : Qt::ArrowCursor);
}

void RouterSettingsDialog::withHelper(std::function<void(RouterDialHelper*)> use) {
    const auto start = [this, use](const QString& password) {
        RouterSettings now = settings();
        auto* helper = new RouterDialHelper(RouterDialHelper::targetFor(now, password), this);
        setBusy(true);
        use(helper);
    };
    if (!typedPassword().isEmpty())
        start(typedPassword());
    else
        m_passwordSource(start);
}

bool RouterSettingsDialog::handledFailure(const Tr64Result& result,
                                          const std::function<void()>& retry) {
    setBusy(false);
    if (result.ok())
        return false;
    if (result.error == RouterError::CertificateUnknown &&
        confirmCertificate(this, result.certificateSha256)) {
        // The certificate belongs to the address it came from.
        m_settings.address = settings().address;
        m_settings.certificateSha256 = result.certificateSha256;
        showCertificate();
        retry();
        return true;
    }
    if (result.error != RouterError::CertificateUnknown)
        UserMessage::error(this,
                           RouterMessages::forError(result, settings().address, settings().phone));
    return true;
}

void RouterSettingsDialog::testConnection() {
    withHelper([this](RouterDialHelper* helper) {
        helper->readPhones([this, helper](const Tr64Result& result, const QStringList& phones,
                                          const QString& current) {
            helper->deleteLater();
            // Messages wait until the answer's own handling is over.
            QTimer::singleShot(0, this, [this, result, phones, current] {
                if (handledFailure(result, [this] { testConnection(); }))
                    return;
                const QString chosen = m_phone->currentText();
                m_phone->clear();
                m_phone->addItems(phones);
                const QString preselect = current.isEmpty() ? chosen : current;
                if (!preselect.isEmpty() && m_phone->findText(preselect) < 0)
                    m_phone->addItem(preselect);
                m_phone->setCurrentText(preselect);
                UserMessage::information(this,
                                         RouterMessages::connectionWorks(phones.size(), current));
            });
        });
    });
}

void RouterSettingsDialog::takeCodes() {
    withHelper([this](RouterDialHelper* helper) {
        helper->readCodes(
            [this, helper](const Tr64Result& result, const QString& country, const QString& area) {
                helper->deleteLater();
                QTimer::singleShot(0, this, [this, result, country, area] {
                    if (handledFailure(result, [this] { takeCodes(); }))
                        return;
                    emit codesRead(country, area);
                    UserMessage::information(
                        this, QStringLiteral("Vom Router übernommen: Land %1, Ort %2.\rSie gelten, "
                                             "sobald Sie die Optionen verlassen.")
                                  .arg(country, area));
                });
            });
    });
}
