#include "results/chemins_fichier_atomique.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace tq {

namespace fs = std::filesystem;

namespace {

// True for a code unit that continues a character: a UTF-8 continuation byte
// in a POSIX name, the second half of a surrogate pair in a Windows one.
template <class TUnite> bool ContinueUnCaractere(TUnite unite)
{
    if constexpr (sizeof(TUnite) == 1)
        return (static_cast<unsigned char>(unite) & 0xC0) == 0x80;
    else
        return unite >= 0xDC00 && unite <= 0xDFFF;
}

} // namespace

fs::path CheminComplet(const fs::path& chemin)
{
    std::error_code erreur;
    fs::path complet = fs::absolute(chemin, erreur);
    if (erreur)
        complet = chemin;
    return complet.lexically_normal();
}

fs::path NomTemporaire(const fs::path& nomCible)
{
    const fs::path::string_type& nom = nomCible.native();
    std::size_t garde = std::min<std::size_t>(nom.size(), 100);
    while (garde > 0 && garde < nom.size() && ContinueUnCaractere(nom[garde]))
        --garde;
    static thread_local std::mt19937 hasard { std::random_device {}() };
    char suffixe[16];
    std::snprintf(suffixe, sizeof suffixe, ".%08x.tmp", static_cast<unsigned>(hasard()));
    fs::path::string_type sortie(1, fs::path::value_type('.'));
    sortie.append(nom, 0, garde);
    for (const char* c = suffixe; *c != '\0'; ++c)
        sortie.push_back(static_cast<fs::path::value_type>(*c));
    return fs::path(std::move(sortie));
}

} // namespace tq
