#include "results/ecriture_fichier.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "results/description_erreur_systeme.h"
#include "results/erreurs_resultats.h"

namespace tq {

namespace fs = std::filesystem;

namespace {

// The path as the message shows it: absolute, with "." and ".." resolved.
fs::path CheminComplet(const fs::path& chemin)
{
    std::error_code erreur;
    fs::path complet = fs::absolute(chemin, erreur);
    if (erreur)
        complet = chemin;
    return complet.lexically_normal();
}

// A hidden name beside the target that tells which file it was meant to be,
// cut short so that it stays a valid name however long the target's is.
std::string NomTemporaire(const std::string& nomCible)
{
    std::size_t garde = std::min<std::size_t>(nomCible.size(), 100);
    while (garde > 0 && garde < nomCible.size() && (static_cast<unsigned char>(nomCible[garde]) & 0xC0) == 0x80)
        --garde;
    static thread_local std::mt19937 hasard { std::random_device {}() };
    char suffixe[16];
    std::snprintf(suffixe, sizeof suffixe, ".%08x.tmp", static_cast<unsigned>(hasard()));
    std::string nom = ".";
    nom.append(nomCible, 0, garde);
    nom += suffixe;
    return nom;
}

// The temporary file while it is written. Unless it has been renamed over the
// target, it is closed and removed on every way out.
class TFichierTemporaire {
public:
    TFichierTemporaire(const fs::path& dossier, const std::string& nomCible, mode_t mode)
    {
        for (int essai = 0; essai < 64; ++essai) {
            chemin_ = dossier / NomTemporaire(nomCible);
            descripteur_ = ::open(chemin_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (descripteur_ >= 0 || errno != EEXIST)
                break;
        }
        erreurCreation_ = descripteur_ < 0 ? errno : 0;
    }

    TFichierTemporaire(const TFichierTemporaire&) = delete;
    TFichierTemporaire& operator=(const TFichierTemporaire&) = delete;

    ~TFichierTemporaire()
    {
        if (descripteur_ >= 0)
            ::close(descripteur_);
        if (erreurCreation_ == 0 && !renomme_)
            ::unlink(chemin_.c_str());
    }

    // 0 when the file was created, else the error number of the failure.
    int ErreurCreation() const { return erreurCreation_; }

    // Gives a replacing file the owner and permissions of the one it replaces.
    // Changing the owner needs privileges; without them the file stays the
    // writer's, which is all a plain save could do anyway.
    void ReprendreDroits(const struct stat& etat)
    {
        [[maybe_unused]] const int proprietaire = ::fchown(descripteur_, etat.st_uid, etat.st_gid);
        ::fchmod(descripteur_, etat.st_mode & 07777);
    }

    // Writes every byte; a short write is resumed.
    void Ecrire(std::string_view octets)
    {
        constexpr std::size_t MorceauMaximal = std::size_t { 1 } << 30;
        std::size_t ecrits = 0;
        while (ecrits < octets.size()) {
            const ssize_t n =
                ::write(descripteur_, octets.data() + ecrits, std::min(octets.size() - ecrits, MorceauMaximal));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw ErreurEcritureFlux();
            ecrits += static_cast<std::size_t>(n);
        }
        // Start putting this piece on the disk now, while the next ones are
        // made, so that little is left for the flush at the end. Only a hint:
        // the flush still decides, and reports a failure.
        ::sync_file_range(descripteur_, position_, static_cast<off_t>(octets.size()), SYNC_FILE_RANGE_WRITE);
        position_ += static_cast<off_t>(octets.size());
    }

    // Puts what was written on the disk and closes the file.
    void Terminer()
    {
        // A full disk may show only when the data reach it, or at closing.
        if (::fsync(descripteur_) != 0)
            throw ErreurEcritureFlux();
        const int fermeture = ::close(descripteur_);
        descripteur_ = -1;
        if (fermeture != 0)
            throw ErreurEcritureFlux();
    }

    // Puts the file in the target's place; 0 on success, else the error number.
    int Renommer(const fs::path& cible)
    {
        if (::rename(chemin_.c_str(), cible.c_str()) != 0)
            return errno;
        renomme_ = true;
        return 0;
    }

private:
    fs::path chemin_;
    int descripteur_ = -1;
    off_t position_ = 0;
    int erreurCreation_ = 0;
    bool renomme_ = false;
};

// Writes the pieces of a file on a thread of its own, one at a time, while
// the next piece is made. A failure is kept and raised to the producer when
// it hands over its next piece or finishes; the pieces after it are dropped.
class TEcrivainEnFond {
public:
    explicit TEcrivainEnFond(TFichierTemporaire& fichier)
        : fichier_(fichier)
        , fil_([this] { Boucle(); })
    {
        const std::lock_guard verrou(mutex_);
        enEcriture_.reserve(2 * std::size_t { 1 } << 20);
    }

    TEcrivainEnFond(const TEcrivainEnFond&) = delete;
    TEcrivainEnFond& operator=(const TEcrivainEnFond&) = delete;

    ~TEcrivainEnFond()
    {
        {
            const std::lock_guard verrou(mutex_);
            arret_ = true;
        }
        travail_.notify_one();
        fil_.join();
    }

    // Takes the piece's bytes, once the previous piece is written, and gives
    // back the emptied buffer of that one.
    void Confier(std::string& piece)
    {
        std::unique_lock verrou(mutex_);
        libre_.wait(verrou, [this] { return !enCours_; });
        if (erreur_)
            std::rethrow_exception(erreur_);
        piece.swap(enEcriture_);
        piece.clear();
        enCours_ = true;
        verrou.unlock();
        travail_.notify_one();
    }

    // Waits until every piece handed over is written.
    void Attendre()
    {
        std::unique_lock verrou(mutex_);
        libre_.wait(verrou, [this] { return !enCours_; });
        if (erreur_)
            std::rethrow_exception(erreur_);
    }

private:
    void Boucle()
    {
        std::unique_lock verrou(mutex_);
        for (;;) {
            travail_.wait(verrou, [this] { return enCours_ || arret_; });
            if (!enCours_)
                return;
            verrou.unlock();
            std::exception_ptr erreur;
            try {
                fichier_.Ecrire(enEcriture_);
            } catch (...) {
                erreur = std::current_exception();
            }
            verrou.lock();
            if (erreur)
                erreur_ = erreur;
            enCours_ = false;
            libre_.notify_one();
        }
    }

    TFichierTemporaire& fichier_;
    std::mutex mutex_;
    std::condition_variable travail_;
    std::condition_variable libre_;
    std::string enEcriture_;
    bool enCours_ = false;
    bool arret_ = false;
    std::exception_ptr erreur_;
    std::thread fil_;
};

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

} // namespace

void EcrireFichierEntier(const fs::path& chemin, std::string_view octets)
{
    EcrireFichierEntier(chemin, [octets](TSortieFichier& sortie) { sortie.Ecrire(octets); });
}

void EcrireFichierEntier(const fs::path& chemin, const std::function<void(TSortieFichier&)>& produire)
{
    const fs::path complet = CheminComplet(chemin);
    const std::string affiche = complet.string();
    auto echecCreation = [&affiche](int numero) {
        return ErreurCreationFichier(affiche, DescriptionErreurSysteme(numero));
    };

    fs::path cible = complet;
    struct stat etat { };
    bool existe = false;
    if (::stat(complet.c_str(), &etat) == 0) {
        // Only a regular file is replaced: renaming over a folder, a device
        // or a pipe would destroy something that is not a saved file.
        if (S_ISDIR(etat.st_mode))
            throw echecCreation(EISDIR);
        if (!S_ISREG(etat.st_mode))
            throw echecCreation(EACCES);
        if (::access(complet.c_str(), W_OK) != 0)
            throw echecCreation(errno);
        existe = true;
        std::error_code erreur;
        fs::path reel = fs::canonical(complet, erreur);
        if (!erreur)
            cible = std::move(reel);
    } else if (errno != ENOENT) {
        throw echecCreation(errno);
    }
    if (!cible.has_filename())
        throw echecCreation(ENOENT);

    const fs::path dossier = cible.parent_path();
    TFichierTemporaire temporaire { dossier, cible.filename().string(), static_cast<mode_t>(existe ? 0600 : 0666) };
    if (temporaire.ErreurCreation() != 0)
        throw echecCreation(temporaire.ErreurCreation());
    if (existe)
        temporaire.ReprendreDroits(etat);
    // Started with the first full piece, so a small file needs no thread;
    // stopped before the temporary file is closed or removed.
    std::optional<TEcrivainEnFond> enFond;
    TSortieFichier sortie {
        [&](std::string& piece) {
            if (!enFond)
                enFond.emplace(temporaire);
            enFond->Confier(piece);
        },
        [&](std::string_view octets) {
            if (enFond)
                enFond->Attendre();
            temporaire.Ecrire(octets);
        },
    };
    sortie.Tampon().reserve(2 * TSortieFichier::TaillePiece);
    produire(sortie);
    sortie.Vider();
    if (enFond)
        enFond->Attendre();
    temporaire.Terminer();
    if (const int erreur = temporaire.Renommer(cible); erreur != 0)
        throw echecCreation(erreur);
    SynchroniserDossier(dossier);
}

} // namespace tq
