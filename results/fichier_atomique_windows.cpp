#include "results/fichier_atomique.h"

#include <algorithm>
#include <string>

#include <windows.h>

#include "results/chemins_fichier_atomique.h"
#include "results/ecriture_par_morceaux.h"
#include "results/erreurs_resultats.h"

namespace tq {

namespace fs = std::filesystem;

namespace {

std::string VersUtf8(std::wstring_view texte)
{
    if (texte.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

// The system's own text for an error code, in the user's language, with
// trailing blanks, line ends and full stops removed as the message wants it.
std::string DescriptionErreurSysteme(DWORD numero)
{
    wchar_t* message = nullptr;
    const DWORD longueur =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, numero, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string texte;
    if (longueur > 0 && message != nullptr)
        texte = VersUtf8(std::wstring_view(message, longueur));
    LocalFree(message);
    if (texte.empty())
        texte = "Erreur " + std::to_string(numero);
    while (!texte.empty() && (static_cast<unsigned char>(texte.back()) <= 32 || texte.back() == '.'))
        texte.pop_back();
    return texte;
}

// Marks an open file for deletion when its last handle closes, or takes the
// mark back. While marked, the system removes the file even when the process
// dies without closing it.
bool MarquerPourSuppression(HANDLE fichier, bool supprimer)
{
    FILE_DISPOSITION_INFO disposition {};
    disposition.DeleteFile = supprimer ? TRUE : FALSE;
    return SetFileInformationByHandle(fichier, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

} // namespace

// The temporary file is marked for deletion from its creation, so that a
// process killed while writing leaves nothing in the folder; the mark is
// taken back only once its bytes are on the disk, just before it replaces the
// target. Where the file system refuses the mark, the file is removed on
// every way out but the death of the process.
struct TFichierAtomique::TEtat {
    fs::path cible;
    std::string affiche; // the full path, as failure messages show it
    fs::path temporaire;
    HANDLE fichier = INVALID_HANDLE_VALUE;
    bool marque = false;
    bool existe = false;
    bool renomme = false;

    ErreurCreationFichier EchecCreation(DWORD numero) const
    {
        return ErreurCreationFichier(affiche, DescriptionErreurSysteme(numero));
    }

    // 0 when the file was created, else the system's error code.
    DWORD Creer()
    {
        return EssayerNomsTemporaires(
            cible, DWORD { ERROR_FILE_EXISTS },
            [&](fs::path nom) -> DWORD {
                fichier = CreateFileW(nom.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
                if (fichier == INVALID_HANDLE_VALUE)
                    return GetLastError();
                temporaire = std::move(nom);
                marque = MarquerPourSuppression(fichier, true);
                return 0;
            });
    }

    ~TEtat()
    {
        if (fichier != INVALID_HANDLE_VALUE)
            CloseHandle(fichier);
        if (!temporaire.empty() && !renomme && !marque)
            DeleteFileW(temporaire.c_str());
    }
};

TFichierAtomique::TFichierAtomique(const fs::path& chemin)
    : etat_(std::make_unique<TEtat>())
{
    TEtat& e = *etat_;
    const fs::path complet = CheminComplet(chemin);
    const std::u8string affiche = complet.u8string();
    e.affiche.assign(affiche.begin(), affiche.end());
    e.cible = complet;
    const DWORD attributs = GetFileAttributesW(complet.c_str());
    if (attributs != INVALID_FILE_ATTRIBUTES) {
        // Only a plain file that may be written is replaced: renaming over a
        // folder would destroy something that is not a saved file.
        if ((attributs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
            throw e.EchecCreation(ERROR_ACCESS_DENIED);
        e.existe = true;
    } else if (const DWORD erreur = GetLastError(); erreur != ERROR_FILE_NOT_FOUND) {
        throw e.EchecCreation(erreur);
    }
    if (!e.cible.has_filename())
        throw e.EchecCreation(ERROR_PATH_NOT_FOUND);
    if (const DWORD erreur = e.Creer(); erreur != 0)
        throw e.EchecCreation(erreur);
}

TFichierAtomique::~TFichierAtomique() = default;

void TFichierAtomique::Ajouter(std::string_view octets)
{
    TEtat& e = *etat_;
    EcrireParMorceaux(octets, [&](std::string_view morceau) -> std::size_t {
        DWORD n = 0;
        if (!WriteFile(e.fichier, morceau.data(), static_cast<DWORD>(morceau.size()), &n, nullptr))
            return 0;
        return n;
    });
}

void TFichierAtomique::Valider()
{
    TEtat& e = *etat_;
    // A full disk may show only when the data reach it.
    if (!FlushFileBuffers(e.fichier))
        throw ErreurEcritureFlux();
    if (e.marque && !MarquerPourSuppression(e.fichier, false))
        throw e.EchecCreation(GetLastError());
    e.marque = false;
    const BOOL fermeture = CloseHandle(e.fichier);
    e.fichier = INVALID_HANDLE_VALUE;
    if (!fermeture)
        throw ErreurEcritureFlux();
    // Replacing keeps the replaced file's attributes and access rights; a new
    // file is moved into place. Both reach the disk before returning.
    BOOL place = FALSE;
    if (e.existe)
        place = ReplaceFileW(e.cible.c_str(), e.temporaire.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                             nullptr);
    if (!place)
        place = MoveFileExW(e.temporaire.c_str(), e.cible.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!place)
        throw e.EchecCreation(GetLastError());
    e.renomme = true;
}

} // namespace tq
