#include "app/message_faillite.h"

#include "app/commandes/message_echec.h"

namespace tq {

QString MessageFaillite(const std::exception& faillite)
{
    return QString::fromUtf8(MessageEchec(faillite));
}

QString MessageFailliteInconnue()
{
    return QString::fromUtf8(MessageEchecInconnu());
}

QString TitreApplication(const QString& cheminProgramme)
{
    QString nom = cheminProgramme.mid(cheminProgramme.lastIndexOf(u'/') + 1);
    const qsizetype point = nom.indexOf(u'.');
    if (point >= 0)
        nom.truncate(point);
    if (nom.size() > 1)
        nom = nom.front() + nom.mid(1).toLower();
    return nom;
}

} // namespace tq
