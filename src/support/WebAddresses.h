#pragma once

#include <QString>

// The addresses the program opens: the maker's page (banner Image1, info dialog), the maker's
// mail, and the partner's page (banner Image2). Set them here and nowhere else.
namespace WebAddresses {

inline const QString MakerSite = QStringLiteral("https://kurbelfon.example/");
inline const QString MakerMail = QStringLiteral("mailto:kurbelfon@kurbelfon.example");
inline const QString PartnerSite = QStringLiteral("https://www.teltarif.de/");

} // namespace WebAddresses
