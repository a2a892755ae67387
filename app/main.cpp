#include "app/application.h"
#include "app/demarrage.h"
#include "app/interface_utilisateur_qt.h"
#include "app/ufrmPrincipale.h"
#include "results/arret_par_signal.h"

int main(int argc, char** argv)
{
    // A window closed by the session's end (SIGTERM, SIGHUP) in the middle of
    // a save leaves no hidden temporary file beside the chosen one.
    tq::SupprimerTemporaireAuxSignauxDArret();
    // One desktop interface for the whole run: the window's boxes and dialog
    // and the application's failure box; it outlives both.
    tq::TInterfaceUtilisateurQt bureau;
    const std::unique_ptr<tq::TApplication> application = tq::CreerApplication(argc, argv, bureau);
    tq::TfrmPrincipale frmPrincipale(bureau);
    frmPrincipale.show();
    return application->exec();
}
