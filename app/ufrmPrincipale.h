#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QWidget>

#include "app/commandes/commande.h"
#include "app/interface_utilisateur.h"
#include "platform/reglages_regionaux.h"
#include "results/centre.h"

namespace Ui {
class TfrmPrincipale;
}

namespace tq {

// The program's one window: the panel with "Liste des centres" and "Quitter",
// the three pages and the activity log.
class TfrmPrincipale : public QWidget {
    Q_OBJECT
public:
    // With the given boxes, dialog, cursor, clock and locale, which must
    // outlive the window, and optionally another statistics server (tests
    // only; the program always uses its own).
    explicit TfrmPrincipale(IInterfaceUtilisateur& interfaceUtilisateur,
                            std::string urlServeur = UrlServeurStatistiques());
    ~TfrmPrincipale() override;

protected:
    // Appends "hh:nn:ss.zzz: " and the text as a new last line of the log,
    // the time read from the clock and written with the user's time separator.
    void AjouterLog(std::u16string_view texte);

    const TReglagesRegionaux& ReglagesRegionaux() const { return reglages_; }

    void showEvent(QShowEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;
    void changeEvent(QEvent* evenement) override;

    std::unique_ptr<Ui::TfrmPrincipale> ui;

    // The body of the last successful answer of the statistics server.
    std::u16string ResultatRequete;

    // The centre directory, in the order of the server's answer; emptied
    // when the window closes.
    std::vector<TEnr_Centre> lstCentre;

private:
    void FormCreate();
    void FormClose();
    void btnQuitterClick();

    // The five query commands.
    void bntListeCentreStatClick();
    void btnExporterGlobaleClick();
    void btnExporterCentreClick();
    void btnListeAccesClick();
    void btnListeCentreClick();
    void ExecuterCommande(TCommande commande);

    // Lists the directory's trade names in both tree views and selects the
    // first item of each.
    void AfficherCentres();
    void RelireReglagesRegionaux();

    IInterfaceUtilisateur& interfaceUtilisateur_;
    TReglagesRegionaux reglages_;
    std::string urlServeur_;
    bool dejaCentree_ = false;
};

} // namespace tq
