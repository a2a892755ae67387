#include "app/demarrage.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "app/application.h"

namespace tq {

namespace {

// A message of Qt's, kept while the application object is being built.
struct TMessageRetenu {
    QtMsgType type;
    QByteArray fichier;
    int ligne;
    QByteArray fonction;
    QByteArray categorie;
    QString texte;
};

std::mutex verrouRetenus;
std::vector<TMessageRetenu> retenus;

// Whether a display can be opened is the toolkit's business: the program
// reads nothing of the environment itself. While the application object is
// built, Qt's platform plugin looks for a display; when it finds none, it
// reports in English, then aborts with a fatal message. That fatal message is
// replaced by one line in French and an ordinary exit; the English lines
// before it are held back and only passed on once the start has succeeded.
void RetenirMessage(QtMsgType type, const QMessageLogContext& contexte, const QString& texte)
{
    if (type == QtFatalMsg) {
        std::fputs(MessageSansAffichage, stderr);
        std::fputc('\n', stderr);
        std::fflush(stderr);
        // Nothing has been created that needs tearing down, and Qt is in the
        // middle of its start: leave at once.
        std::_Exit(1);
    }
    const std::lock_guard<std::mutex> verrou(verrouRetenus);
    retenus.push_back({ type, contexte.file, contexte.line, contexte.function, contexte.category, texte });
}

// Hands the held-back messages to the handler in place before the start.
void TransmettreRetenus()
{
    std::vector<TMessageRetenu> messages;
    {
        const std::lock_guard<std::mutex> verrou(verrouRetenus);
        messages.swap(retenus);
    }
    for (const TMessageRetenu& m : messages) {
        const QMessageLogContext contexte(m.fichier.isNull() ? nullptr : m.fichier.constData(), m.ligne,
                                          m.fonction.isNull() ? nullptr : m.fonction.constData(),
                                          m.categorie.isNull() ? nullptr : m.categorie.constData());
        qt_message_output(m.type, contexte, m.texte);
    }
}

} // namespace

std::unique_ptr<TApplication> CreerApplication(int& argc, char** argv, IInterfaceUtilisateur& interfaceUtilisateur)
{
    const QtMessageHandler precedent = qInstallMessageHandler(RetenirMessage);
    auto application = std::make_unique<TApplication>(argc, argv, interfaceUtilisateur);
    qInstallMessageHandler(precedent);
    TransmettreRetenus();
    return application;
}

} // namespace tq
