#include "http/meta_html.h"

#include "platform/caracteres.h"

namespace tq {

namespace {

bool EstBlancHtml(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Reads the attributes of one tag, from just after its name to its ">".
class TLecteurBalise {
public:
    TLecteurBalise(std::string_view texte, std::size_t position)
        : texte_(texte)
        , position_(position)
    {
    }

    // Reads the next attribute; false at the end of the tag.
    bool Attribut(std::string_view& nom, std::string_view& valeur)
    {
        while (position_ < texte_.size() && (EstBlancHtml(texte_[position_]) || texte_[position_] == '/'))
            ++position_;
        if (position_ >= texte_.size() || texte_[position_] == '>')
            return false;
        const std::size_t debutNom = position_;
        while (position_ < texte_.size() && !EstBlancHtml(texte_[position_]) && texte_[position_] != '='
               && texte_[position_] != '>' && texte_[position_] != '/')
            ++position_;
        nom = texte_.substr(debutNom, position_ - debutNom);
        valeur = {};
        SauterBlancs();
        if (position_ >= texte_.size() || texte_[position_] != '=')
            return true;
        ++position_;
        SauterBlancs();
        if (position_ < texte_.size() && (texte_[position_] == '"' || texte_[position_] == '\'')) {
            const char guillemet = texte_[position_++];
            const std::size_t fin = texte_.find(guillemet, position_);
            const std::size_t finValeur = fin == std::string_view::npos ? texte_.size() : fin;
            valeur = texte_.substr(position_, finValeur - position_);
            position_ = fin == std::string_view::npos ? texte_.size() : fin + 1;
        } else {
            const std::size_t debutValeur = position_;
            while (position_ < texte_.size() && !EstBlancHtml(texte_[position_]) && texte_[position_] != '>')
                ++position_;
            valeur = texte_.substr(debutValeur, position_ - debutValeur);
        }
        return true;
    }

    std::size_t Position() const { return position_; }

private:
    void SauterBlancs()
    {
        while (position_ < texte_.size() && EstBlancHtml(texte_[position_]))
            ++position_;
    }

    std::string_view texte_;
    std::size_t position_;
};

} // namespace

bool EstTypeHtml(std::string_view typeMedia)
{
    const std::string_view essence = SansBlancs(typeMedia.substr(0, typeMedia.find(';')));
    return EgauxSansCasse(essence, "text/html") || EgauxSansCasse(essence, "text/html-sandboxed")
        || EgauxSansCasse(essence, "application/xhtml+xml");
}

std::vector<TChampEntete> ChampsMetaHttpEquiv(std::string_view corps)
{
    std::vector<TChampEntete> champs;
    constexpr std::string_view balise = "meta";
    std::size_t position = 0;
    while ((position = corps.find('<', position)) != std::string_view::npos) {
        ++position;
        if (corps.size() - position <= balise.size() || !EgauxSansCasse(corps.substr(position, balise.size()), balise))
            continue;
        const char apres = corps[position + balise.size()];
        if (!EstBlancHtml(apres) && apres != '/' && apres != '>')
            continue;
        TLecteurBalise lecteur(corps, position + balise.size());
        std::string_view nom;
        std::string_view valeur;
        bool equivalent = false;
        bool contenu = false;
        std::string_view nomChamp;
        std::string_view valeurChamp;
        while (lecteur.Attribut(nom, valeur)) {
            if (!equivalent && EgauxSansCasse(nom, "http-equiv")) {
                equivalent = true;
                nomChamp = valeur;
            } else if (!contenu && EgauxSansCasse(nom, "content")) {
                contenu = true;
                valeurChamp = valeur;
            }
        }
        position = lecteur.Position();
        if (equivalent && !SansBlancs(nomChamp).empty())
            champs.push_back({ TexteAscii(SansBlancs(nomChamp)), TexteAscii(SansBlancs(valeurChamp)) });
    }
    return champs;
}

} // namespace tq
