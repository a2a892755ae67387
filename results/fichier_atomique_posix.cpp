#include "results/fichier_atomique.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "results/chemins_fichier_atomique.h"
#include "results/ecriture_par_morceaux.h"
#include "results/erreurs_resultats.h"
#include "results/temporaire_en_attente.h"

namespace tq {

namespace fs = std::filesystem;

namespace {

// The system's French description of an error number, as it ends the file
// creation message: the usual causes of a failed creation in their own words,
// the C library's text for any other, with trailing blanks, control
// characters and full stops removed.
const char* TexteConnu(int numero)
{
    switch (numero) {
    case ENOENT:
    case ENOTDIR:
        return "Le chemin d'accès spécifié est introuvable.";
    case EACCES:
    case EPERM:
    case EISDIR:
        return "Accès refusé.";
    case EROFS:
        return "Le support est protégé en écriture.";
    case ENOSPC:
    case EDQUOT:
        return "Espace insuffisant sur le disque.";
    case ENAMETOOLONG:
        return "Le nom de fichier ou l'extension est trop long.";
    case EINVAL:
        return "La syntaxe du nom de fichier, de répertoire ou de volume est incorrecte.";
    case EBUSY:
    case ETXTBSY:
        return "Le processus ne peut pas accéder au fichier car ce fichier est utilisé par un autre processus.";
    case EMFILE:
    case ENFILE:
        return "Le système ne peut pas ouvrir le fichier.";
    case EIO:
        return "La demande n'a pas abouti en raison d'une erreur de périphérique d'E/S.";
    default:
        return nullptr;
    }
}

std::string DescriptionErreurSysteme(int numero)
{
    std::string texte;
    if (const char* connu = TexteConnu(numero)) {
        texte = connu;
    } else {
        char tampon[256];
        texte = strerror_r(numero, tampon, sizeof tampon);
    }
    while (!texte.empty() && (static_cast<unsigned char>(texte.back()) <= 32 || texte.back() == '.'))
        texte.pop_back();
    return texte;
}

// The path under which the process reaches one of its open files.
std::string CheminDescripteur(int descripteur)
{
    return "/proc/self/fd/" + std::to_string(descripteur);
}

// Makes a rename in the folder last across a power cut; a folder that cannot
// be synchronised does not make the save fail, the file is already complete.
void SynchroniserDossier(const fs::path& dossier)
{
    const int descripteur = ::open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descripteur >= 0) {
        ::fsync(descripteur);
        ::close(descripteur);
    }
}

// The file that a symbolic link names, followed link after link (40 at most,
// as the kernel does) also when that file does not exist yet, so that a save
// through the link writes there and keeps the link. A path that is no link
// names itself.
fs::path FichierDuLien(fs::path chemin)
{
    std::error_code erreur;
    for (int lien = 0; lien < 40 && fs::is_symlink(chemin, erreur); ++lien) {
        fs::path vers = fs::read_symlink(chemin, erreur);
        if (erreur)
            break;
        chemin = chemin.parent_path() / vers;
    }
    return chemin;
}

} // namespace

// The temporary file is made without a name where the file system allows it,
// so that a process killed while writing leaves nothing in the folder; it
// gets its hidden name only once its bytes are on the disk, just before the
// rename. Elsewhere it is created under that name from the start, and removed
// on every way out but the death of the process; while it has a name, it is
// announced for the termination signals to remove (arret_par_signal.h).
struct TFichierAtomique::TEtat {
    fs::path cible;
    fs::path dossier;
    std::string affiche; // the full path, as failure messages show it
    fs::path temporaire; // empty while the file has no name
    int descripteur = -1;
    off_t position = 0;
    bool renomme = false;

    ErreurCreationFichier EchecCreation(int numero) const
    {
        return ErreurCreationFichier(affiche, DescriptionErreurSysteme(numero));
    }

    // 0 when the file was created, else the error number of the failure.
    int Creer(mode_t mode)
    {
        // A file system without unnamed files refuses them in several ways
        // (EOPNOTSUPP, EISDIR on an old kernel, EINVAL...); whatever the
        // refusal, the named file is tried, and its failure is the one told.
        descripteur = ::open(dossier.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (descripteur >= 0) {
            // An unnamed file gets its name through /proc; without it, the
            // written file could not be kept.
            if (::access(CheminDescripteur(descripteur).c_str(), F_OK) == 0)
                return 0;
            ::close(descripteur);
            descripteur = -1;
        }
        return CreerNomme(mode);
    }

    int CreerNomme(mode_t mode)
    {
        return EssayerNomsTemporaires(
            cible, EEXIST,
            [&](fs::path nom) {
                descripteur = ::open(nom.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
                if (descripteur < 0)
                    return errno;
                temporaire = std::move(nom);
                AnnoncerTemporaire(temporaire.c_str());
                return 0;
            });
    }

    // Gives a replacing file the owner and permissions of the one it replaces.
    // Changing the owner needs privileges; without them the file stays the
    // writer's, which is all a plain save could do anyway.
    void ReprendreDroits(const struct stat& etat) const
    {
        [[maybe_unused]] const int proprietaire = ::fchown(descripteur, etat.st_uid, etat.st_gid);
        ::fchmod(descripteur, etat.st_mode & 07777);
    }

    // Gives the unnamed file its hidden name; 0 on success, else the error
    // number.
    int Nommer()
    {
        const std::string source = CheminDescripteur(descripteur);
        return EssayerNomsTemporaires(cible, EEXIST, [&](fs::path nom) {
            if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, nom.c_str(), AT_SYMLINK_FOLLOW) != 0)
                return errno;
            temporaire = std::move(nom);
            AnnoncerTemporaire(temporaire.c_str());
            return 0;
        });
    }

    int Fermer()
    {
        const int resultat = ::close(descripteur);
        descripteur = -1;
        return resultat;
    }

    ~TEtat()
    {
        if (descripteur >= 0)
            ::close(descripteur);
        if (!temporaire.empty() && !renomme) {
            ::unlink(temporaire.c_str());
            RetirerTemporaire(temporaire.c_str());
        }
    }
};

TFichierAtomique::TFichierAtomique(const fs::path& chemin)
    : etat_(std::make_unique<TEtat>())
{
    TEtat& e = *etat_;
    const fs::path complet = CheminComplet(chemin);
    e.affiche = complet.string();
    e.cible = complet;
    struct stat etat { };
    bool existe = false;
    if (::stat(complet.c_str(), &etat) == 0) {
        // Only a regular file is replaced: renaming over a folder, a device
        // or a pipe would destroy something that is not a saved file.
        if (S_ISDIR(etat.st_mode))
            throw e.EchecCreation(EISDIR);
        if (!S_ISREG(etat.st_mode))
            throw e.EchecCreation(EACCES);
        if (::access(complet.c_str(), W_OK) != 0)
            throw e.EchecCreation(errno);
        existe = true;
        std::error_code erreur;
        fs::path reel = fs::canonical(complet, erreur);
        if (!erreur)
            e.cible = std::move(reel);
    } else if (errno == ENOENT) {
        e.cible = FichierDuLien(complet);
    } else {
        throw e.EchecCreation(errno);
    }
    if (!e.cible.has_filename())
        throw e.EchecCreation(ENOENT);

    e.dossier = e.cible.parent_path();
    if (const int erreur = e.Creer(static_cast<mode_t>(existe ? 0600 : 0666)); erreur != 0)
        throw e.EchecCreation(erreur);
    if (existe)
        e.ReprendreDroits(etat);
}

TFichierAtomique::~TFichierAtomique() = default;

void TFichierAtomique::Ajouter(std::string_view octets)
{
    TEtat& e = *etat_;
    EcrireParMorceaux(octets, [&](std::string_view morceau) -> std::size_t {
        for (;;) {
            const ssize_t n = ::write(e.descripteur, morceau.data(), morceau.size());
            if (n < 0 && errno == EINTR)
                continue;
            return n < 0 ? 0 : static_cast<std::size_t>(n);
        }
    });
    // Start putting these bytes on the disk now, while the next ones are
    // made, so that little is left for the flush at the end. Only a hint: the
    // flush still decides, and reports a failure.
    ::sync_file_range(e.descripteur, e.position, static_cast<off_t>(octets.size()), SYNC_FILE_RANGE_WRITE);
    e.position += static_cast<off_t>(octets.size());
}

void TFichierAtomique::Valider()
{
    TEtat& e = *etat_;
    // A full disk may show only when the data reach it, or at closing.
    if (::fsync(e.descripteur) != 0)
        throw ErreurEcritureFlux();
    if (!e.temporaire.empty()) {
        if (e.Fermer() != 0)
            throw ErreurEcritureFlux();
    } else if (const int erreur = e.Nommer(); erreur != 0) {
        throw e.EchecCreation(erreur);
    }
    // The unnamed file is renamed right after it gets its name, and closed
    // only then: nothing but a SIGKILL or a power cut between these two calls
    // leaves it under its hidden name. After a successful fsync its close has
    // nothing left to report.
    if (::rename(e.temporaire.c_str(), e.cible.c_str()) != 0)
        throw e.EchecCreation(errno);
    e.renomme = true;
    RetirerTemporaire(e.temporaire.c_str());
    if (e.descripteur >= 0)
        e.Fermer();
    SynchroniserDossier(e.dossier);
}

} // namespace tq
