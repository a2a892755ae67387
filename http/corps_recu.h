#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace tq {

// How the bytes of a body become its text.
enum class TDecodageCorps {
    // Kept as bytes and decoded once complete, by media type and charset.
    UneFoisComplet,
    // Decoded as UTF-8 as they arrive, never held whole as bytes.
    AuFilEnUtf8,
};

// The body of an answer as it arrives. The reader reads straight into the room
// the body offers, so the bytes are copied once at most on their way to the
// text.
class TCorpsRecu {
public:
    virtual ~TCorpsRecu() = default;

    // Where at most `taille` (at least 1) next bytes go.
    virtual std::span<char> Place(std::size_t taille) = 0;
    // The first n bytes of the place given last have arrived.
    virtual void Recevoir(std::size_t n) = 0;
    // Bytes read already elsewhere, taken as if read into the place.
    virtual void Ajouter(std::string_view octets);

    std::uint64_t Taille() const { return taille_; }
    // The text of the complete body (the media type and charset only matter
    // to bytes kept until then).
    virtual std::u16string Texte(std::string_view typeMedia, std::string_view charset) = 0;

protected:
    TCorpsRecu() = default;
    std::uint64_t taille_ = 0;
};

// Bytes of a body asked of the source in one read: large enough that the
// system calls and the acknowledgements they send stay few, small enough to
// be decoded while still in cache.
inline constexpr std::size_t TaillePieceCorps = std::size_t(256) << 10;

// A body kept as bytes and decoded once complete, by media type and charset.
// The bytes in a buffer that grows geometrically, never past the most the
// body may hold, and is not filled with zeros before the bytes come: a large
// one goes on huge pages, where each first touch of fresh memory costs less.
class TCorpsEnOctets final : public TCorpsRecu {
public:
    // At most `plafond` bytes, with room for `reserve` of them made at once.
    TCorpsEnOctets(std::size_t reserve, std::uint64_t plafond);

    std::span<char> Place(std::size_t taille) override;
    void Recevoir(std::size_t n) override { taille_ += n; }
    std::u16string Texte(std::string_view typeMedia, std::string_view charset) override;

    // The bytes received so far, all of them once the body is complete.
    std::string_view Octets() const { return { donnees_.get(), static_cast<std::size_t>(taille_) }; }

private:
    void Agrandir(std::size_t capacite);

    std::uint64_t plafond_;
    std::unique_ptr<char[]> donnees_;
    std::size_t capacite_ = 0;
};

// A body that holds at most `plafond` bytes, with room for `reserve` of them
// (the announced length, or 0) made at once.
std::unique_ptr<TCorpsRecu> NouveauCorps(TDecodageCorps decodage, std::size_t reserve, std::uint64_t plafond);

} // namespace tq
