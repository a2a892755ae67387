#pragma once

#include <optional>

#include <QDateTime>
#include <QString>

#include "app/commandes/type_fichier.h"
#include "platform/reglages_regionaux.h"

namespace tq {

// Everything the window asks of the person in front of it or of the desktop:
// the boxes, the save dialog, the cursor, the clock, the regional settings and
// the "open" of a document. The program uses the desktop's own; the tests
// answer in the person's place.
class IInterfaceUtilisateur {
public:
    virtual ~IInterfaceUtilisateur() = default;

    // The confirmation box with "&Oui" (the default) and "&Non"; true on "&Oui".
    virtual bool Confirmer(const QString& message, const QString& titre) = 0;

    // The failure box: error icon, one OK button, owned by the active window.
    virtual void AfficherErreur(const QString& message, const QString& titre) = 0;

    // The save dialog, opened on the given file type. The full path chosen,
    // or nothing when the user cancels.
    virtual std::optional<QString> ChoisirFichierEnregistrement(TTypeFichier typeFichier) = 0;

    // Local date and time, to the millisecond.
    virtual QDateTime Maintenant() = 0;

    virtual TReglagesRegionaux LireReglagesRegionaux() = 0;

    // Opens the document with the desktop's associated application; the
    // outcome is not reported.
    virtual void OuvrirDocument(const QString& chemin) = 0;

    // The wait cursor over every window of the program, and back to the
    // ordinary cursor (nothing set before is remembered).
    virtual void AfficherCurseurOccupe() = 0;
    virtual void RestaurerCurseur() = 0;
};

// Shows the wait cursor for as long as it lives, so that every way out of a
// command, a failure included, brings the ordinary cursor back.
class TCurseurOccupe {
public:
    explicit TCurseurOccupe(IInterfaceUtilisateur& interfaceUtilisateur)
        : interfaceUtilisateur_(interfaceUtilisateur)
    {
        interfaceUtilisateur_.AfficherCurseurOccupe();
    }
    ~TCurseurOccupe() { interfaceUtilisateur_.RestaurerCurseur(); }
    TCurseurOccupe(const TCurseurOccupe&) = delete;
    TCurseurOccupe& operator=(const TCurseurOccupe&) = delete;

private:
    IInterfaceUtilisateur& interfaceUtilisateur_;
};

} // namespace tq
