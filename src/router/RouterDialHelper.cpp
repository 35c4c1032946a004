#include "router/RouterDialHelper.h"

#include "dialing/DialComposition.h"

const QString RouterDialHelper::Service = QStringLiteral("urn:dslforum-org:service:X_VoIP:1");
const QString RouterDialHelper::ControlUrl = QStringLiteral("/upnp/control/x_voip");
const QString RouterDialHelper::Unconfigured = QStringLiteral("unconfigured");

namespace {
const QString PhoneName = QStringLiteral("NewX_AVM-DE_PhoneName");
// Invalid argument(s) and an index past the last port: the name matches no telephone.
bool namesNoPhone(int upnpErrorCode) {
    return upnpErrorCode == 401 || upnpErrorCode == 402 || upnpErrorCode == 713;
}
constexpr int ActionFailed = 501;

QString helperPhone(const Tr64Result& result) {
    const QString name = result.values.value(PhoneName).trimmed();
    return name.compare(RouterDialHelper::Unconfigured, Qt::CaseInsensitive) == 0 ? QString()
                                                                                  : name;
}
} // namespace

RouterDialHelper::RouterDialHelper(const Tr64Target& target, QObject* parent)
    : QObject(parent), m_client(new Tr64Client(target, this)) {}

Tr64Target RouterDialHelper::targetFor(const RouterSettings& settings, const QString& password) {
    Tr64Target target;
    // An address that names no port leaves the host empty: the request then fails as
    // unreachable and the message names the address.
    if (!target.setAddress(settings.address))
        target.host.clear();
    target.plainHttp = settings.plainHttp;
    target.user = settings.user.isEmpty() ? Tr64Target::PasswordOnlyUser : settings.user;
    target.password = password;
    target.pinnedSha256 = settings.certificateSha256;
    return target;
}

void RouterDialHelper::call(const QString& action, const SoapMessage::Arguments& arguments,
                            Tr64Client::Done done) {
    m_client->call(Service, ControlUrl, action, arguments, std::move(done));
}

void RouterDialHelper::dial(const QString& digits, const QString& phone,
                            std::function<void(const Tr64Result&, const QString&)> done) {
    const QString number = RouterDialDigits(digits);
    const auto dialNumber = [this, number, done](const QString& ringing) {
        call(QStringLiteral("X_AVM-DE_DialNumber"),
             {{QStringLiteral("NewX_AVM-DE_PhoneNumber"), number}},
             [done, ringing](const Tr64Result& result) {
                 Tr64Result mapped = result;
                 if (result.error == RouterError::Fault && result.upnpErrorCode == ActionFailed)
                     mapped.error = RouterError::HelperOff;
                 done(mapped, ringing);
             });
    };
    if (phone.isEmpty()) {
        call(QStringLiteral("X_AVM-DE_DialGetConfig"), {},
             [done, dialNumber](const Tr64Result& result) {
                 Tr64Result mapped = result;
                 if (result.ok() && helperPhone(result).isEmpty())
                     mapped.error = RouterError::HelperOff;
                 if (!mapped.ok())
                     done(mapped, QString());
                 else
                     dialNumber(helperPhone(result));
             });
        return;
    }
    call(QStringLiteral("X_AVM-DE_DialSetConfig"), {{PhoneName, phone}},
         [done, dialNumber, phone](const Tr64Result& result) {
             Tr64Result mapped = result;
             if (result.error == RouterError::Fault && namesNoPhone(result.upnpErrorCode))
                 mapped.error = RouterError::NoSuchPhone;
             else if (result.error == RouterError::Fault && result.upnpErrorCode == ActionFailed)
                 mapped.error = RouterError::HelperOff;
             if (!mapped.ok())
                 done(mapped, phone);
             else
                 dialNumber(phone);
         });
}

void RouterDialHelper::hangUp(Tr64Client::Done done) {
    call(QStringLiteral("X_AVM-DE_DialHangup"), {}, std::move(done));
}

void RouterDialHelper::readPhones(
    std::function<void(const Tr64Result&, const QStringList&, const QString&)> done) {
    call(QStringLiteral("X_AVM-DE_DialGetConfig"), {}, [this, done](const Tr64Result& result) {
        if (!result.ok()) {
            done(result, {}, QString());
            return;
        }
        readPhonePort(1, {}, helperPhone(result), done);
    });
}

void RouterDialHelper::readPhonePort(
    int index, QStringList phones, const QString& current,
    std::function<void(const Tr64Result&, const QStringList&, const QString&)> done) {
    call(QStringLiteral("X_AVM-DE_GetPhonePort"),
         {{QStringLiteral("NewIndex"), QString::number(index)}},
         [this, index, phones, current, done](const Tr64Result& result) mutable {
             // The list ends with the router's error reply for the first index too many.
             if (result.error == RouterError::Fault) {
                 done(Tr64Result(), phones, current);
                 return;
             }
             if (!result.ok()) {
                 done(result, phones, current);
                 return;
             }
             const QString name = result.values.value(PhoneName).trimmed();
             if (!name.isEmpty() && !phones.contains(name))
                 phones.append(name);
             if (index >= MaxPhones)
                 done(Tr64Result(), phones, current);
             else
                 readPhonePort(index + 1, phones, current, done);
         });
}

void RouterDialHelper::readCodes(
    std::function<void(const Tr64Result&, const QString&, const QString&)> done) {
    call(QStringLiteral("X_AVM-DE_GetVoIPCommonCountryCode"), {},
         [this, done](const Tr64Result& country) {
             if (!country.ok()) {
                 done(country, QString(), QString());
                 return;
             }
             call(QStringLiteral("X_AVM-DE_GetVoIPCommonAreaCode"), {},
                  [done, country](const Tr64Result& area) {
                      // Digits only: the codes go into the options' fields as plain numbers.
                      done(area,
                           RouterDialDigits(country.values.value(QStringLiteral("NewX_AVM-DE_LKZ")))
                               .remove(QLatin1Char('*'))
                               .remove(QLatin1Char('#')),
                           RouterDialDigits(area.values.value(QStringLiteral("NewX_AVM-DE_OKZ")))
                               .remove(QLatin1Char('*'))
                               .remove(QLatin1Char('#')));
                  });
         });
}
