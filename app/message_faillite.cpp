#include "app/message_faillite.h"

namespace tq {

namespace {

// The innermost failure of a std::nested_exception chain, as long as each
// link is a std::exception; a link of another kind ends the walk.
const char* MessageLePlusInterne(const std::exception& faillite)
{
    const auto* emboitee = dynamic_cast<const std::nested_exception*>(&faillite);
    if (emboitee != nullptr && emboitee->nested_ptr() != nullptr) {
        try {
            std::rethrow_exception(emboitee->nested_ptr());
        } catch (const std::exception& interne) {
            return MessageLePlusInterne(interne);
        } catch (...) {
        }
    }
    return faillite.what();
}

QString AvecPointFinal(QString message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        message += u'.';
    return message;
}

} // namespace

QString MessageFaillite(const std::exception& faillite)
{
    QString message = QString::fromUtf8(MessageLePlusInterne(faillite));
    if (message.isEmpty())
        message = QString::fromUtf8(faillite.what());
    return AvecPointFinal(message);
}

QString MessageFailliteInconnue() { return AvecPointFinal(QStringLiteral("Erreur inconnue")); }

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
