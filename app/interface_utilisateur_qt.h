#pragma once

#include "app/interface_utilisateur.h"

namespace tq {

// The desktop's own boxes, save dialog, cursor, clock, locale and "open".
class TInterfaceUtilisateurQt final : public IInterfaceUtilisateur {
public:
    bool Confirmer(const QString& message, const QString& titre) override;
    void AfficherErreur(const QString& message, const QString& titre) override;
    std::optional<QString> ChoisirFichierEnregistrement(TTypeFichier typeFichier) override;
    QDateTime Maintenant() override;
    TReglagesRegionaux LireReglagesRegionaux() override;
    void OuvrirDocument(const QString& chemin) override;
    void AfficherCurseurOccupe() override;
    void RestaurerCurseur() override;

private:
    // The save dialog offers the last file chosen again.
    QString dernierFichier_;
};

} // namespace tq
