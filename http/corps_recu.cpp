#include "http/corps_recu.h"

#include "platform/decodage_charset.h"
#include "platform/grand_tampon.h"
#include "platform/texte_utf.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tq {

namespace {

// The bytes decoded into the text piece by piece, each piece still in cache.
class TCorpsEnUtf8 final : public TCorpsRecu {
public:
    // Never more code units than bytes: the announced length is enough room.
    // The text is written once from start to end, so the huge pages that
    // fit in it spare a page fault every 4 KiB even below the size from
    // which every large text asks for them. Its pages, and the piece's as far
    // as the answer fills it, come in at once rather than a fault at a time.
    explicit TCorpsEnUtf8(std::size_t reserve)
    {
        ReserverGrandTexte(texte_, reserve);
        ConseillerGrandesPages(texte_.data(), texte_.capacity() * sizeof(char16_t));
        PreparerPages(texte_.data(), texte_.capacity() * sizeof(char16_t));
        PreparerPages(piece_.data(), std::min(reserve, piece_.size()));
    }

    std::span<char> Place(std::size_t taille) override { return { piece_.data(), std::min(taille, piece_.size()) }; }

    void Recevoir(std::size_t n) override { Ajouter({ piece_.data(), n }); }

    void Ajouter(std::string_view octets) override
    {
        decodeur_.Ajouter(octets, texte_);
        taille_ += octets.size();
    }

    std::u16string Texte(std::string_view, std::string_view) override
    {
        decodeur_.Terminer(texte_);
        return std::move(texte_);
    }

private:
    std::u16string texte_;
    TDecodeurUtf8 decodeur_;
    std::array<char, TaillePieceCorps> piece_;
};

} // namespace

TCorpsEnOctets::TCorpsEnOctets(std::size_t reserve, std::uint64_t plafond)
    : plafond_(plafond)
{
    if (reserve > 0)
        Agrandir(reserve);
}

std::span<char> TCorpsEnOctets::Place(std::size_t taille)
{
    if (capacite_ - taille_ < taille) {
        const std::uint64_t double_ = std::max<std::uint64_t>(2 * std::uint64_t(capacite_), TaillePieceCorps);
        Agrandir(static_cast<std::size_t>(std::max<std::uint64_t>(taille_ + taille, std::min(double_, plafond_))));
    }
    return { donnees_.get() + taille_, taille };
}

std::u16string TCorpsEnOctets::Texte(std::string_view typeMedia, std::string_view charset)
{
    return DecoderCorps(Octets(), typeMedia, charset);
}

void TCorpsEnOctets::Agrandir(std::size_t capacite)
{
    std::unique_ptr<char[]> nouvelles = NouveauGrandTampon(capacite);
    if (taille_ > 0)
        std::memcpy(nouvelles.get(), donnees_.get(), static_cast<std::size_t>(taille_));
    donnees_ = std::move(nouvelles);
    capacite_ = capacite;
}

void TCorpsRecu::Ajouter(std::string_view octets)
{
    while (!octets.empty()) {
        const std::span<char> place = Place(octets.size());
        std::memcpy(place.data(), octets.data(), place.size());
        Recevoir(place.size());
        octets.remove_prefix(place.size());
    }
}

std::unique_ptr<TCorpsRecu> NouveauCorps(TDecodageCorps decodage, std::size_t reserve, std::uint64_t plafond)
{
    switch (decodage) {
    case TDecodageCorps::AuFilEnUtf8:
        return std::make_unique<TCorpsEnUtf8>(reserve);
    case TDecodageCorps::UneFoisComplet:
        break;
    }
    return std::make_unique<TCorpsEnOctets>(reserve, plafond);
}

} // namespace tq
