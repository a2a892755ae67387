#include "app/ufrmPrincipale.h"

#include <QCloseEvent>
#include <QScreen>
#include <QTreeWidget>

#include "app/interface_utilisateur_qt.h"
#include "query/requete.h"
#include "ui_ufrmPrincipale.h"

namespace tq {

namespace {

using namespace std::chrono;

year_month_day JourDe(QDate date)
{
    return year { date.year() } / month { static_cast<unsigned>(date.month()) } /
        day { static_cast<unsigned>(date.day()) };
}

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

TfrmPrincipale::TfrmPrincipale()
    : TfrmPrincipale(std::make_unique<TInterfaceUtilisateurQt>(), nullptr)
{
}

TfrmPrincipale::TfrmPrincipale(IInterfaceUtilisateur& interfaceUtilisateur)
    : TfrmPrincipale(nullptr, &interfaceUtilisateur)
{
}

TfrmPrincipale::TfrmPrincipale(std::unique_ptr<IInterfaceUtilisateur> interfacePropre,
                               IInterfaceUtilisateur* interfaceEmpruntee)
    : ui(std::make_unique<Ui::TfrmPrincipale>())
    , interfacePropre_(std::move(interfacePropre))
    , interfaceUtilisateur_(interfacePropre_ ? interfacePropre_.get() : interfaceEmpruntee)
{
    ui->setupUi(this);
    GarderSelectionVisible(*ui->tvCentreStat);
    GarderSelectionVisible(*ui->tvCentreGestion);

    connect(ui->btnQuitter, &QPushButton::clicked, this, &TfrmPrincipale::btnQuitterClick);

    RelireReglagesRegionaux();
    FormCreate();
}

TfrmPrincipale::~TfrmPrincipale() = default;

void TfrmPrincipale::FormCreate()
{
    const year_month_day aujourdhui = JourDe(interfaceUtilisateur_->Maintenant().date());
    ui->edtDebut->DefinirDate(PremierJourDuMois(aujourdhui));
    ui->edtFin->DefinirDate(DernierJourDuMois(aujourdhui));
    ui->PageControl1->setCurrentWidget(ui->tstStatistique);
}

void TfrmPrincipale::FormClose() { lstCentre.clear(); }

void TfrmPrincipale::btnQuitterClick()
{
    if (interfaceUtilisateur_->Confirmer(QStringLiteral("Etes-vous sûr(e) de vouloir quitter l'application ?"),
                                         QStringLiteral("Confirmer")))
        close();
}

void TfrmPrincipale::AjouterLog(std::u16string_view texte)
{
    const QTime heure = interfaceUtilisateur_->Maintenant().time();
    const hh_mm_ss<milliseconds> horodatage { milliseconds { heure.msecsSinceStartOfDay() } };
    std::u16string ligne = TexteHorodatage(horodatage, reglages_);
    ligne += u": ";
    ligne += texte;
    ui->mmoLog->appendPlainText(QString::fromStdU16String(ligne));
}

void TfrmPrincipale::RelireReglagesRegionaux()
{
    reglages_ = interfaceUtilisateur_->LireReglagesRegionaux();
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
