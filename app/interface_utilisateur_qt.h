#pragma once

#include "app/interface_utilisateur.h"

namespace tq {

// Which save dialog opens: the platform's choice, or Qt's own everywhere
// (for the tests that drive it).
enum class TDialogueEnregistrement { DeLaPlateforme, DeQt };

// The desktop's own boxes, save dialog, cursor, clock, locale and "open".
class TInterfaceUtilisateurQt final : public IInterfaceUtilisateur {
public:
    explicit TInterfaceUtilisateurQt(TDialogueEnregistrement dialogue = TDialogueEnregistrement::DeLaPlateforme)
        : dialogue_(dialogue)
    {
    }

    bool Confirmer(const QString& message, const QString& titre) override;
    void AfficherErreur(const QString& message, const QString& titre) override;
    std::optional<QString> ChoisirFichierEnregistrement(TTypeFichier typeFichier) override;
    QDateTime Maintenant() override;
    TReglagesRegionaux LireReglagesRegionaux() override;
    void OuvrirDocument(const QString& chemin) override;
    void AfficherCurseurOccupe() override;
    void RestaurerCurseur() override;

private:
    TDialogueEnregistrement dialogue_;
    // The save dialog offers the last file chosen again.
    QString dernierFichier_;
};

} // namespace tq
