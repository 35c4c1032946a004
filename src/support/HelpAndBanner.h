#pragma once

#include <QDate>
#include <QString>

// The choices behind the help button and the banner, free of any window.
namespace HelpAndBanner {

inline const QString HelpFileName = QStringLiteral("hilfe.htm");
inline const QString IndexFileName = QStringLiteral("index.htm");
inline const QString HelpNotFound =
    QStringLiteral("Die Online-Hilfe konnte leider nicht gefunden werden ...");
// A document or web page (%1) that no program on this desktop opened; the opener's own words
// may follow on a line of their own.
inline const QString NotOpened =
    QStringLiteral("„%1“ konnte nicht geöffnet werden.\rIst ein Webbrowser eingerichtet?");
inline const QString MailNotOpened = QStringLiteral(
    "Die E-Mail an „%1“ konnte nicht angelegt werden.\rIst ein E-Mail-Programm eingerichtet?");
inline const QString MakerBannerFile = QStringLiteral("banner-kurbelfon.png");
inline const QString PartnerBannerFile = QStringLiteral("banner-partner.png");
constexpr int PartnerBannerDays = 60;

// The document the help opens: `path` if it exists, else hilfe.htm, else index.htm in the
// program folder (given with its trailing separator); empty when there is none.
QString HelpFilePath(const QString& path, const QString& programFolder);
// True for the partner's banner (Image2 in Image1's place): the executable is at most 60
// calendar days old.
bool ShowsPartnerBanner(const QDate& executableDate, const QDate& today);

} // namespace HelpAndBanner
