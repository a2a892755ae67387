#include "http/lecteur_reponse.h"

#include "http/corps_recu.h"
#include "http/erreurs_http.h"
#include "http/meta_html.h"
#include "platform/caracteres.h"
#include "platform/decodage_charset.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tq {

namespace {

// A line whose line feed comes after more bytes than this is refused.
constexpr std::size_t LongueurLigneMax = 16384;
// Bytes asked of the source in one read of the head, the chunk-size lines
// and the trailer (the body is read in pieces of its own size).
constexpr std::size_t TaillePiece = 32768;
// An endless run of "100 Continue" answers must end somewhere.
constexpr std::size_t ReponsesIntermediairesMax = 255;
// Capacity reserved at once for a body that Content-Length announces. The
// memory is only used as bytes arrive, and beyond this amount it is reserved
// as they arrive too, so that a false length costs little.
constexpr std::uint64_t ReserveCorpsMax = std::uint64_t(128) << 20;

bool EstSucces(int codeStatut)
{
    return codeStatut >= 200 && codeStatut <= 299;
}

// Only a UTF-8 body of known length is decoded as it arrives: its text can be
// sized once, where a text growing by doubling would copy twice the bytes of
// a body growing the same way.
TDecodageCorps DecodagePour(const TReponseHttp& reponse, std::int64_t longueur)
{
    if (longueur > 0 && !CorpsFragmente(reponse.entetes) && CorpsEnUtf8(reponse.typeMedia, reponse.charset))
        return TDecodageCorps::AuFilEnUtf8;
    return TDecodageCorps::UneFoisComplet;
}

bool EstBlanc(char c)
{
    return c == ' ' || c == '\t';
}

// The second blank-separated field of the status line as a decimal integer;
// -1 when it is missing or is not one.
int CodeStatut(std::string_view ligne)
{
    std::size_t i = 0;
    while (i < ligne.size() && EstBlanc(ligne[i]))
        ++i;
    while (i < ligne.size() && !EstBlanc(ligne[i]))
        ++i;
    while (i < ligne.size() && EstBlanc(ligne[i]))
        ++i;
    const std::size_t debut = i;
    while (i < ligne.size() && !EstBlanc(ligne[i]))
        ++i;
    const std::string_view champ = ligne.substr(debut, i - debut);
    if (champ.empty() || champ.size() > 9)
        return -1;
    int code = 0;
    for (char c : champ) {
        if (!EstChiffreAscii(c))
            return -1;
        code = code * 10 + (c - '0');
    }
    return code;
}

class TLecteurReponse {
public:
    TLecteurReponse(TSourceOctets& source, const TReglagesClientHttp& reglages)
        : source_(source)
        , reglages_(reglages)
        , tampon_(2 * TaillePiece, '\0')
    {
    }

    TReponseHttp Lire()
    {
        TReponseHttp reponse = LireEntete();
        const std::int64_t longueur = LongueurContenu(reponse.entetes);
        if (CorpsAttendu(reponse.codeStatut)) {
            const TTailleCorps taille = TailleCorps(reponse, longueur);
            if (EstTypeHtml(reponse.typeMedia)) {
                // An HTML body may name its charset itself in its META
                // elements: it is kept as bytes, read for them, then decoded.
                TCorpsEnOctets corps(taille.reserve, taille.plafond);
                LireCorps(corps, reponse, longueur);
                for (TChampEntete& champ : ChampsMetaHttpEquiv(corps.Octets()))
                    reponse.entetes.Remplacer(std::move(champ.nom), std::move(champ.valeur));
                TTypeContenu type = AnalyserTypeContenu(reponse.entetes);
                reponse.typeMedia = std::move(type.typeMedia);
                reponse.charset = std::move(type.charset);
                reponse.texte = corps.Texte(reponse.typeMedia, reponse.charset);
            } else {
                const auto corps = NouveauCorps(DecodagePour(reponse, longueur), taille.reserve, taille.plafond);
                LireCorps(*corps, reponse, longueur);
                reponse.texte = corps->Texte(reponse.typeMedia, reponse.charset);
            }
        }
        reponse.garderConnexion = GarderConnexion(reponse.entetes);
        if (!EstSucces(reponse.codeStatut))
            throw ErreurProtocole(reponse.codeStatut, reponse.ligneStatut, std::move(reponse.texte));
        return reponse;
    }

private:
    // The status line and header fields of the final answer, interim "100
    // Continue" answers skipped.
    TReponseHttp LireEntete()
    {
        TReponseHttp reponse;
        for (std::size_t intermediaires = 0;;) {
            reponse = {};
            lignesEntete_ = 0;
            reponse.ligneStatut = LigneObligatoire();
            reponse.codeStatut = CodeStatut(reponse.ligneStatut);
            LireEntetes(reponse.entetes);
            if (reponse.codeStatut != 100)
                break;
            if (++intermediaires > ReponsesIntermediairesMax)
                throw Erreur(MessageTropDeReponsesIntermediaires);
        }
        TTypeContenu type = AnalyserTypeContenu(reponse.entetes);
        reponse.typeMedia = std::move(type.typeMedia);
        reponse.charset = std::move(type.charset);
        return reponse;
    }

    // Reads more bytes into the buffer; false once the peer has closed.
    bool Remplir()
    {
        if (ferme_)
            return false;
        if (debut_ == fin_) {
            debut_ = fin_ = 0;
        } else if (tampon_.size() - fin_ < TaillePiece) {
            std::memmove(tampon_.data(), tampon_.data() + debut_, fin_ - debut_);
            fin_ -= debut_;
            debut_ = 0;
        }
        const std::size_t n = source_.Lire(tampon_.data() + fin_, std::min(TaillePiece, tampon_.size() - fin_));
        if (n == 0) {
            ferme_ = true;
            return false;
        }
        fin_ += n;
        return true;
    }

    // The next line without its line end, read as ASCII; false when the peer
    // closes before its line feed.
    bool LireLigne(std::string& ligne)
    {
        std::size_t examines = 0;
        for (;;) {
            const char* debut = tampon_.data() + debut_;
            const std::size_t disponibles = fin_ - debut_;
            const void* saut = std::memchr(debut + examines, '\n', disponibles - examines);
            if (saut != nullptr) {
                std::size_t longueur = static_cast<std::size_t>(static_cast<const char*>(saut) - debut);
                if (longueur > LongueurLigneMax)
                    throw Erreur(MessageLigneTropLongue);
                debut_ += longueur + 1;
                if (longueur > 0 && debut[longueur - 1] == '\r')
                    --longueur;
                ligne = TexteAscii(std::string_view(debut, longueur));
                return true;
            }
            if (disponibles > LongueurLigneMax)
                throw Erreur(MessageLigneTropLongue);
            examines = disponibles;
            if (!Remplir())
                return false;
        }
    }

    // A line that the answer cannot do without: a close before it is complete
    // means the answer was cut short.
    std::string LigneObligatoire()
    {
        std::string ligne;
        if (!LireLigne(ligne))
            throw Erreur(MessageConnexionFermee);
        return ligne;
    }

    void CompterLigneEntete()
    {
        if (++lignesEntete_ > reglages_.lignesEnteteMax)
            throw Erreur(MessageTropDeLignesEntete);
    }

    // Header lines up to the empty line; a line that begins with a blank
    // continues the previous value.
    void LireEntetes(TEntetesHttp& entetes)
    {
        for (;;) {
            const std::string ligne = LigneObligatoire();
            if (ligne.empty())
                return;
            CompterLigneEntete();
            if (EstBlanc(ligne.front())) {
                entetes.Prolonger(ligne);
                continue;
            }
            AjouterChamp(entetes, ligne);
        }
    }

    // A line "Name: value"; a line without ":" names no field.
    static void AjouterChamp(TEntetesHttp& entetes, std::string_view ligne)
    {
        const std::size_t deuxPoints = ligne.find(':');
        if (deuxPoints == std::string_view::npos)
            return;
        entetes.Ajouter(std::string(SansBlancs(ligne.substr(0, deuxPoints))),
                        std::string(SansBlancs(ligne.substr(deuxPoints + 1))));
    }

    bool CorpsAttendu(int code)
    {
        if ((code >= 100 && code <= 199) || code == 204 || code == 304)
            return false;
        if (code >= 300 && code <= 399)
            return DonneesArriventA(reglages_.delaiCorpsRedirection);
        return true;
    }

    // A redirection's body is read only if its first bytes come in time: a
    // server may well keep the connection open and send none.
    bool DonneesArriventA(std::chrono::milliseconds delai)
    {
        if (fin_ > debut_)
            return true;
        if (ferme_ || !source_.AttendreDonnees(delai))
            return false;
        return Remplir();
    }

    // The room a body gets at once and the most it may hold: what Content-Length
    // announces (refused at once past the cap), or the cap.
    struct TTailleCorps {
        std::size_t reserve = 0;
        std::uint64_t plafond;
    };
    TTailleCorps TailleCorps(const TReponseHttp& reponse, std::int64_t longueur) const
    {
        const std::uint64_t max = reglages_.tailleCorpsMax;
        if (CorpsFragmente(reponse.entetes) || longueur < 0)
            return { .plafond = max };
        const auto attendu = static_cast<std::uint64_t>(longueur);
        if (attendu > max)
            throw Erreur(MessageReponseTropVolumineuse);
        return { .reserve = static_cast<std::size_t>(std::min(attendu, ReserveCorpsMax)), .plafond = attendu };
    }

    // The body framed by chunks, by its announced length or by the close.
    void LireCorps(TCorpsRecu& corps, TReponseHttp& reponse, std::int64_t longueur)
    {
        if (CorpsFragmente(reponse.entetes)) {
            LireFragments(corps, reponse.entetes);
            return;
        }
        if (longueur >= 0) {
            const auto attendu = static_cast<std::uint64_t>(longueur);
            if (AjouterAuCorps(corps, attendu) < attendu)
                throw Erreur(MessageConnexionFermee);
            return;
        }
        // Up to the close, and no further than the cap: a byte more, read into
        // the line buffer rather than into the body, shows the cap was passed.
        const std::uint64_t max = reglages_.tailleCorpsMax;
        if (AjouterAuCorps(corps, max) == max && (fin_ > debut_ || Remplir()))
            throw Erreur(MessageReponseTropVolumineuse);
    }

    // Chunks up to the one of size 0, then trailer lines up to an empty line,
    // each added to the header fields. A close anywhere in between means the
    // body was cut short.
    void LireFragments(TCorpsRecu& corps, TEntetesHttp& entetes)
    {
        for (;;) {
            const std::uint64_t taille = TailleFragment(LigneObligatoire());
            if (taille == 0)
                break;
            if (taille > reglages_.tailleCorpsMax - corps.Taille())
                throw Erreur(MessageReponseTropVolumineuse);
            if (AjouterAuCorps(corps, taille) < taille)
                throw Erreur(MessageConnexionFermee);
            LigneObligatoire();
        }
        for (;;) {
            const std::string ligne = LigneObligatoire();
            if (ligne.empty())
                return;
            CompterLigneEntete();
            AjouterChamp(entetes, ligne);
        }
    }

    // The chunk-size line cut at its first ";", trimmed and read as a
    // hexadecimal number. Anything else fails: reading it as 0 would end the
    // body there and hand a cut answer over as a complete one.
    std::uint64_t TailleFragment(std::string_view ligne)
    {
        const std::string_view chiffres = SansBlancs(ligne.substr(0, ligne.find(';')));
        if (chiffres.empty())
            throw Erreur(MessageTailleFragmentInvalide);
        std::uint64_t taille = 0;
        for (char c : chiffres) {
            const int valeur = ValeurHexa(c);
            if (valeur < 0)
                throw Erreur(MessageTailleFragmentInvalide);
            if (taille > (std::numeric_limits<std::uint64_t>::max() >> 4))
                throw Erreur(MessageReponseTropVolumineuse);
            taille = (taille << 4) | std::uint64_t(valeur);
        }
        return taille;
    }

    // Adds up to voulu bytes to the body: first what the line buffer holds,
    // then straight from the source into the room the body offers. Fewer only
    // when the peer closes.
    std::uint64_t AjouterAuCorps(TCorpsRecu& corps, std::uint64_t voulu)
    {
        const auto enTampon = static_cast<std::size_t>(std::min<std::uint64_t>(voulu, fin_ - debut_));
        corps.Ajouter({ tampon_.data() + debut_, enTampon });
        debut_ += enTampon;
        std::uint64_t ajoutes = enTampon;
        while (ajoutes < voulu && !ferme_) {
            const std::span<char> place =
                corps.Place(static_cast<std::size_t>(std::min<std::uint64_t>(voulu - ajoutes, TaillePieceCorps)));
            const std::size_t n = source_.Lire(place.data(), place.size());
            if (n == 0) {
                ferme_ = true;
                break;
            }
            corps.Recevoir(n);
            ajoutes += n;
        }
        return ajoutes;
    }

    TSourceOctets& source_;
    const TReglagesClientHttp& reglages_;
    std::string tampon_;
    std::size_t debut_ = 0;
    std::size_t fin_ = 0;
    bool ferme_ = false;
    std::size_t lignesEntete_ = 0;
};

} // namespace

TReponseHttp LireReponse(TSourceOctets& source, const TReglagesClientHttp& reglages)
{
    return TLecteurReponse(source, reglages).Lire();
}

} // namespace tq
