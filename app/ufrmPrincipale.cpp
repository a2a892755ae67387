#include "app/ufrmPrincipale.h"

#include <QCloseEvent>
#include <QFile>
#include <QScreen>
#include <QTreeWidget>

#include "app/entree_boutons.h"
#include "app/jour_qdate.h"
#include "query/requete.h"
#include "results/centre.h"
#include "ui_ufrmPrincipale.h"

namespace tq {

namespace {

using namespace std::chrono;

// The centre lists stay highlighted when the view loses the focus, so the
// chosen centre remains visible while another control is used.
void GarderSelectionVisible(QTreeWidget& arbre)
{
    QPalette palette = arbre.palette();
    for (const QPalette::ColorRole role : { QPalette::Highlight, QPalette::HighlightedText })
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    arbre.setPalette(palette);
}

} // namespace

TfrmPrincipale::TfrmPrincipale(IInterfaceUtilisateur& interfaceUtilisateur, std::string urlServeur)
    : ui(std::make_unique<Ui::TfrmPrincipale>())
    , interfaceUtilisateur_(interfaceUtilisateur)
    , urlServeur_(std::move(urlServeur))
{
    ui->setupUi(this);
    GarderSelectionVisible(*ui->tvCentreStat);
    GarderSelectionVisible(*ui->tvCentreGestion);
    ActiverEntreeSurBoutons(*this);

    connect(ui->btnQuitter, &QPushButton::clicked, this, &TfrmPrincipale::btnQuitterClick);
    connect(ui->bntListeCentreStat, &QPushButton::clicked, this, &TfrmPrincipale::bntListeCentreStatClick);
    connect(ui->btnExporterGlobale, &QPushButton::clicked, this, &TfrmPrincipale::btnExporterGlobaleClick);
    connect(ui->btnExporterCentre, &QPushButton::clicked, this, &TfrmPrincipale::btnExporterCentreClick);
    connect(ui->btnListeAcces, &QPushButton::clicked, this, &TfrmPrincipale::btnListeAccesClick);
    connect(ui->btnListeCentre, &QPushButton::clicked, this, &TfrmPrincipale::btnListeCentreClick);

    RelireReglagesRegionaux();
    FormCreate();
}

TfrmPrincipale::~TfrmPrincipale() = default;

void TfrmPrincipale::FormCreate()
{
    const year_month_day aujourdhui = JourDepuisQDate(interfaceUtilisateur_.Maintenant().date());
    ui->edtDebut->DefinirDate(PremierJourDuMois(aujourdhui));
    ui->edtFin->DefinirDate(DernierJourDuMois(aujourdhui));
    ui->PageControl1->setCurrentWidget(ui->tstStatistique);
}

void TfrmPrincipale::FormClose()
{
    lstCentre.clear();
}

void TfrmPrincipale::btnQuitterClick()
{
    if (interfaceUtilisateur_.Confirmer(QStringLiteral("Etes-vous sûr(e) de vouloir quitter l'application ?"),
                                        QStringLiteral("Confirmer")))
        close();
}

void TfrmPrincipale::bntListeCentreStatClick()
{
    ExecuterCommande(TCommande::ListeCentresStat);
}
void TfrmPrincipale::btnExporterGlobaleClick()
{
    ExecuterCommande(TCommande::ExporterGlobale);
}
void TfrmPrincipale::btnExporterCentreClick()
{
    ExecuterCommande(TCommande::ExporterCentre);
}
void TfrmPrincipale::btnListeAccesClick()
{
    ExecuterCommande(TCommande::ListeAcces);
}
void TfrmPrincipale::btnListeCentreClick()
{
    ExecuterCommande(TCommande::ListeCentresJson);
}

void TfrmPrincipale::ExecuterCommande(TCommande commande)
{
    const TDescriptionCommande& description = DescriptionCommande(commande);
    QString chemin;
    if (description.typeFichier) {
        std::optional<QString> choisi = interfaceUtilisateur_.ChoisirFichierEnregistrement(*description.typeFichier);
        if (!choisi)
            return;
        chemin = *choisi;
    }
    // The dates are read once the dialog has closed.
    const TPeriode periode { ui->edtDebut->Date(), ui->edtFin->Date() };
    const TCurseurOccupe curseur { interfaceUtilisateur_ };
    TContexteCommande contexte {
        [this](std::u16string_view texte) { AjouterLog(texte); }, ResultatRequete, lstCentre, reglages_, urlServeur_,
    };
    const std::filesystem::path fichier { QFile::encodeName(chemin).toStdString() };
    if (!LancerCommande(commande, periode, contexte, fichier))
        return;
    if (commande == TCommande::ListeCentresStat)
        AfficherCentres();
    if (description.proposeOuverture
        && interfaceUtilisateur_.Confirmer(QStringLiteral("Voulez-vous ouvrir le fichier généré ?"),
                                           QStringLiteral("Confirmer")))
        interfaceUtilisateur_.OuvrirDocument(chemin);
}

void TfrmPrincipale::AfficherCentres()
{
    const std::vector<std::u16string> libelles = LibellesCentres(lstCentre);
    for (QTreeWidget* arbre : { ui->tvCentreStat, ui->tvCentreGestion }) {
        arbre->clear();
        QList<QTreeWidgetItem*> elements;
        elements.reserve(static_cast<qsizetype>(libelles.size()));
        for (const std::u16string& libelle : libelles)
            elements.append(new QTreeWidgetItem(QStringList { QString::fromStdU16String(libelle) }));
        arbre->addTopLevelItems(elements);
        arbre->setCurrentItem(arbre->topLevelItem(0));
    }
}

void TfrmPrincipale::AjouterLog(std::u16string_view texte)
{
    const QTime heure = interfaceUtilisateur_.Maintenant().time();
    const hh_mm_ss<milliseconds> horodatage { milliseconds { heure.msecsSinceStartOfDay() } };
    std::u16string ligne = TexteHorodatage(horodatage, reglages_);
    ligne += u": ";
    ligne += texte;
    ui->mmoLog->appendPlainText(QString::fromStdU16String(ligne));
}

void TfrmPrincipale::RelireReglagesRegionaux()
{
    reglages_ = interfaceUtilisateur_.LireReglagesRegionaux();
    ui->edtDebut->DefinirReglages(reglages_);
    ui->edtFin->DefinirReglages(reglages_);
}

void TfrmPrincipale::showEvent(QShowEvent* evenement)
{
    if (!dejaCentree_) {
        dejaCentree_ = true;
        if (const QScreen* ecran = screen()) {
            QRect cadre = frameGeometry();
            cadre.moveCenter(ecran->availableGeometry().center());
            move(cadre.topLeft());
        }
    }
    QWidget::showEvent(evenement);
}

void TfrmPrincipale::closeEvent(QCloseEvent* evenement)
{
    FormClose();
    QWidget::closeEvent(evenement);
}

void TfrmPrincipale::changeEvent(QEvent* evenement)
{
    if (evenement->type() == QEvent::LocaleChange)
        RelireReglagesRegionaux();
    QWidget::changeEvent(evenement);
}

} // namespace tq
