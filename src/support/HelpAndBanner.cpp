#include "support/HelpAndBanner.h"

#include "support/Paths.h"

namespace HelpAndBanner {

QString HelpFilePath(const QString& path, const QString& programFolder) {
    if (Paths::FileExists(path))
        return path;
    for (const QString& name : {HelpFileName, IndexFileName}) {
        if (Paths::FileExists(programFolder + name))
            return programFolder + name;
    }
    return QString();
}

bool ShowsPartnerBanner(const QDate& executableDate, const QDate& today) {
    return executableDate.daysTo(today) <= PartnerBannerDays;
}

} // namespace HelpAndBanner
