#include "app/export/reglages_systeme.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include "app/reglages_qlocale.h"

namespace tq {

TReglagesRegionaux ReglagesSysteme()
{
    return ReglagesDepuisQLocale(QLocale::system());
}

std::string HorodatageLocal()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toStdString();
}

} // namespace tq
