#pragma once

#include <QCoreApplication>
#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include "app/application.h"
#include "app/interface_utilisateur.h"

// Answers in the user's place and records what the window asked.
class TInterfaceFactice final : public tq::IInterfaceUtilisateur {
public:
    struct TBoite {
        QString message;
        QString titre;
    };

    // What the next boxes and dialogs answer. A box with no answer queued
    // answers "&Non".
    QQueue<bool> reponses;
    QQueue<std::optional<QString>> fichiers;
    QDateTime maintenant { QDate(2019, 3, 15), QTime(9, 5, 3, 7) };
    tq::TReglagesRegionaux reglages { u"dd/MM/yyyy", u'/', u':', u',' };

    QList<TBoite> confirmations;
    QList<TBoite> erreurs;
    QList<tq::TTypeFichier> typesFichier;
    QStringList documentsOuverts;
    int curseursOccupes = 0;
    int restaurations = 0;

    bool Confirmer(const QString& message, const QString& titre) override
    {
        confirmations.append({ message, titre });
        return !reponses.isEmpty() && reponses.dequeue();
    }
    void AfficherErreur(const QString& message, const QString& titre) override { erreurs.append({ message, titre }); }
    std::optional<QString> ChoisirFichierEnregistrement(tq::TTypeFichier typeFichier) override
    {
        typesFichier.append(typeFichier);
        return fichiers.isEmpty() ? std::nullopt : fichiers.dequeue();
    }
    QDateTime Maintenant() override { return maintenant; }
    tq::TReglagesRegionaux LireReglagesRegionaux() override { return reglages; }
    void OuvrirDocument(const QString& chemin) override { documentsOuverts.append(chemin); }
    void AfficherCurseurOccupe() override { ++curseursOccupes; }
    void RestaurerCurseur() override { ++restaurations; }
};

// The interface that shows the failure box when no test has routed it
// elsewhere: a fake too, so that no test can ever wait on a real box.
inline TInterfaceFactice& InterfaceParDefaut()
{
    static TInterfaceFactice interfaceParDefaut;
    return interfaceParDefaut;
}

// The application object's interface, which passes everything on to the fake
// that a test routes it to (the default one otherwise).
class TRelaisInterface final : public tq::IInterfaceUtilisateur {
public:
    TInterfaceFactice* cible = &InterfaceParDefaut();

    bool Confirmer(const QString& message, const QString& titre) override { return cible->Confirmer(message, titre); }
    void AfficherErreur(const QString& message, const QString& titre) override
    {
        cible->AfficherErreur(message, titre);
    }
    std::optional<QString> ChoisirFichierEnregistrement(tq::TTypeFichier typeFichier) override
    {
        return cible->ChoisirFichierEnregistrement(typeFichier);
    }
    QDateTime Maintenant() override { return cible->Maintenant(); }
    tq::TReglagesRegionaux LireReglagesRegionaux() override { return cible->LireReglagesRegionaux(); }
    void OuvrirDocument(const QString& chemin) override { cible->OuvrirDocument(chemin); }
    void AfficherCurseurOccupe() override { cible->AfficherCurseurOccupe(); }
    void RestaurerCurseur() override { cible->RestaurerCurseur(); }
};

inline TRelaisInterface& RelaisApplication()
{
    static TRelaisInterface relais;
    return relais;
}

// Routes the failure box to `interfaceUtilisateur` for as long as it lives.
class TEchecsVers {
public:
    explicit TEchecsVers(TInterfaceFactice& interfaceUtilisateur) { RelaisApplication().cible = &interfaceUtilisateur; }
    ~TEchecsVers() { RelaisApplication().cible = &InterfaceParDefaut(); }
    TEchecsVers(const TEchecsVers&) = delete;
    TEchecsVers& operator=(const TEchecsVers&) = delete;
};

// The test programs run on the program's own application object, so that a
// failure escaping a handler takes the same road as in the program.
#define TQ_TEST_FENETRE_MAIN(ClasseTest)                                                                               \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        tq::TApplication application(argc, argv, RelaisApplication());                                                 \
        application.setQuitOnLastWindowClosed(false);                                                                  \
        ClasseTest test;                                                                                               \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
