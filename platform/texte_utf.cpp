#include "platform/texte_utf.h"

#include "platform/chemin_utf8.h"
#include "platform/grand_tampon.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Not on Windows, where GCC cannot align the stack for 512-bit values.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
#include <immintrin.h>
#define TQ_BLOCS_AVX512 1
#endif

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

namespace tq {

namespace {

void AjouterPointDeCode(std::string& sortie, char32_t c)
{
    if (c < 0x80) {
        sortie.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        sortie.push_back(static_cast<char>(0xC0 | (c >> 6)));
        sortie.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        sortie.push_back(static_cast<char>(0xE0 | (c >> 12)));
        sortie.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        sortie.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        sortie.push_back(static_cast<char>(0xF0 | (c >> 18)));
        sortie.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        sortie.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        sortie.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool EstHaut(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool EstBas(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

constexpr char16_t Remplacement = 0xFFFD;

// Whether the bytes being decoded may be followed by more.
enum class TSuiteOctets { Attendue, Aucune };

bool EstSuite(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The bytes that may follow a first byte in second place: E0 and F0 must not
// begin an overlong form, ED must not encode a surrogate, F4 must stay below
// U+110000.
unsigned char SecondMin(unsigned char b)
{
    return b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
}
unsigned char SecondMax(unsigned char b)
{
    return b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
}

// The length of the sequence a first byte begins; 0 for a byte that never
// begins one (a continuation byte, C0, C1, F5 to FF).
std::ptrdiff_t LongueurSequence(unsigned char b)
{
    return b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
}

// True when the `reste` bytes at p are the beginning of a well-formed
// sequence that needs more of them: what follows decides what they give.
bool DebutDeSequence(const unsigned char* p, std::ptrdiff_t reste)
{
    const unsigned char b = p[0];
    if (reste >= LongueurSequence(b))
        return false;
    if (reste >= 2 && (p[1] < SecondMin(b) || p[1] > SecondMax(b)))
        return false;
    return reste < 3 || EstSuite(p[2]);
}

#if defined(TQ_BLOCS_AVX512)
// Text in a Latin script is mostly ASCII with a two-byte sequence here and
// there. Where the processor has 512-bit vectors that can compress, this
// decodes it 32 bytes at a time, as long as every byte of a block is ASCII
// or part of a well-formed two-byte sequence: each byte is widened, a
// continuation byte combined with the lead byte before it, and the units of
// the lead bytes squeezed out. A lead byte in the last place of a block pairs
// with the first byte of the next one. Returns where it stopped: at the first
// block holding anything else, left to the caller, or when fewer than 32
// bytes are left. Each block stores 32 units, which the text has room for
// while 32 bytes are left, since it has a unit for each byte.
__attribute__((target("avx512f,avx512bw,avx512vbmi2"))) const unsigned char* DecoderLatinParBlocs(
    const unsigned char* p, const unsigned char* const fin, char16_t*& sortie)
{
    // Each unit with the one before it: the last of the previous block, then
    // the first 31 of this one.
    const __m512i decalage = _mm512_set_epi16(62, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48, 47, 46, 45,
                                              44, 43, 42, 41, 40, 39, 38, 37, 36, 35, 34, 33, 32, 31);
    __m512i precedent = _mm512_setzero_si512();
    std::uint32_t report = 0; // 1 when the previous block ends with a lead byte
    char16_t* s = sortie;
    while (fin - p >= 32) {
        const __m512i unites = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
        const std::uint32_t hauts = _mm512_cmpge_epu16_mask(unites, _mm512_set1_epi16(0x80));
        const std::uint32_t suites =
            _mm512_cmplt_epu16_mask(_mm512_sub_epi16(unites, _mm512_set1_epi16(0x80)), _mm512_set1_epi16(0x40));
        const std::uint32_t tetes =
            _mm512_cmplt_epu16_mask(_mm512_sub_epi16(unites, _mm512_set1_epi16(0xC2)), _mm512_set1_epi16(0x1E));
        if ((suites | tetes) != hauts || suites != ((tetes << 1) | report))
            break;
        const __m512i avant = _mm512_permutex2var_epi16(precedent, decalage, unites);
        const __m512i paires = _mm512_or_si512(_mm512_slli_epi16(_mm512_and_si512(avant, _mm512_set1_epi16(0x1F)), 6),
                                               _mm512_and_si512(unites, _mm512_set1_epi16(0x3F)));
        const __m512i texte = _mm512_mask_mov_epi16(unites, suites, paires);
        _mm512_storeu_si512(s, _mm512_maskz_compress_epi16(~tetes, texte));
        s += 32 - __builtin_popcount(tetes);
        report = tetes >> 31;
        precedent = unites;
        p += 32;
    }
    sortie = s;
    // A lead byte left waiting for its pair is decoded by the caller.
    return p - report;
}

// Whether this processor and its system offer the instructions above.
const bool blocsLatinsDisponibles = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi2");
}();
#else
constexpr bool blocsLatinsDisponibles = false;
#endif

// The path chosen at start-up; only the tests change it.
std::atomic<bool> blocsLatinsChoisis { blocsLatinsDisponibles };

// The fast paths: where the processor allows, Latin text of ASCII and
// two-byte sequences a block at a time, then runs of ASCII sixteen bytes at a
// time, the ASCII bytes in front of anything else included. Writing sixteen
// units stays inside the text, which has one unit per byte. Returns where
// they stopped: at the first byte they leave to the sequence decoder, or
// where too few bytes are left for a block.
const unsigned char* DecoderRapide(const unsigned char* p, const unsigned char* const fin, bool blocs,
                                   char16_t*& sortie)
{
#if defined(TQ_BLOCS_AVX512)
    if (blocs)
        p = DecoderLatinParBlocs(p, fin, sortie);
#else
    (void)blocs;
#endif
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (fin - p >= 16) {
        const __m128i seize = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sortie), _mm_unpacklo_epi8(seize, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sortie + 8), _mm_unpackhi_epi8(seize, zero));
        const int hauts = _mm_movemask_epi8(seize);
        if (hauts != 0) {
            const int ascii = __builtin_ctz(static_cast<unsigned>(hauts));
            p += ascii;
            sortie += ascii;
            return p;
        }
        p += 16;
        sortie += 16;
    }
#endif
    return p;
}

// Decodes the sequence that begins at p with a byte that is not ASCII: its
// length comes from the first byte, the second byte must lie within the
// bounds the first allows, the others are continuation bytes. A sequence
// that breaks off gives one U+FFFD for the part read so far. Returns the
// count of bytes read.
std::ptrdiff_t DecoderSequence(const unsigned char* p, std::ptrdiff_t reste, char16_t*& sortie)
{
    const unsigned char b = p[0];
    const std::ptrdiff_t longueur = LongueurSequence(b);
    char32_t point = b & (0x7F >> longueur);
    std::ptrdiff_t lus = 1;
    while (lus < longueur && lus < reste) {
        const unsigned char c = p[lus];
        if (lus == 1 ? c < SecondMin(b) || c > SecondMax(b) : !EstSuite(c))
            break;
        point = point << 6 | (c & 0x3F);
        ++lus;
    }
    if (lus < longueur || longueur == 0) {
        *sortie++ = Remplacement;
    } else if (point >= 0x10000) {
        *sortie++ = static_cast<char16_t>(0xD7C0 + (point >> 10));
        *sortie++ = static_cast<char16_t>(0xDC00 + (point & 0x3FF));
    } else {
        *sortie++ = static_cast<char16_t>(point);
    }
    return lus;
}

// Decodes from p up to fin into `sortie`, which has room for one unit per
// byte. An ill-formed sequence gives one U+FFFD for each maximal part of a
// well-formed sequence it begins with, so that the bytes after it are read as
// they would be on their own. When more bytes are to come, a well-formed
// beginning cut by the end is left for the next piece: returns where decoding
// stopped.
const unsigned char* DecoderVers(const unsigned char* p, const unsigned char* const fin, TSuiteOctets suite,
                                 char16_t*& sortie)
{
    const bool blocs = blocsLatinsChoisis.load(std::memory_order_relaxed);
    while (p < fin) {
        p = DecoderRapide(p, fin, blocs, sortie);
        if (p >= fin)
            break;
        if (*p < 0x80) {
            *sortie++ = *p++;
            continue;
        }
        const std::ptrdiff_t reste = fin - p;
        if (suite == TSuiteOctets::Attendue && reste < 4 && DebutDeSequence(p, reste))
            return p;
        p += DecoderSequence(p, reste, sortie);
    }
    return p;
}

} // namespace

std::string VersUtf8(std::u16string_view texte)
{
    std::string sortie;
    sortie.reserve(texte.size());
    for (std::size_t i = 0; i < texte.size(); ++i) {
        char16_t c = texte[i];
        if (EstHaut(c) && i + 1 < texte.size() && EstBas(texte[i + 1])) {
            char32_t point = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(texte[i + 1]) - 0xDC00);
            AjouterPointDeCode(sortie, point);
            ++i;
        } else if (EstHaut(c) || EstBas(c)) {
            AjouterPointDeCode(sortie, 0xFFFD);
        } else {
            AjouterPointDeCode(sortie, c);
        }
    }
    return sortie;
}

std::u16string DepuisUtf8(std::string_view octets)
{
    std::u16string texte;
    ReserverGrandTexte(texte, octets.size());
    texte.resize(octets.size());
    char16_t* sortie = texte.data();
    const auto* p = reinterpret_cast<const unsigned char*>(octets.data());
    DecoderVers(p, p + octets.size(), TSuiteOctets::Aucune, sortie);
    texte.resize(static_cast<std::size_t>(sortie - texte.data()));
    return texte;
}

void TDecodeurUtf8::Ajouter(std::string_view piece, std::u16string& texte)
{
    const std::size_t avant = texte.size();
    const std::size_t place = avant + enAttente_ + piece.size();
    if (texte.capacity() < place)
        ReserverGrandTexte(texte, std::max(place, 2 * texte.capacity()));
    texte.resize(place);
    char16_t* sortie = texte.data() + avant;
    const auto* p = reinterpret_cast<const unsigned char*>(piece.data());
    const auto* const fin = p + piece.size();
    if (enAttente_ > 0) {
        // The beginning left by the last piece, completed with enough of this
        // one to end it whatever it is.
        unsigned char jonction[sizeof attente_ + 4];
        std::memcpy(jonction, attente_, enAttente_);
        const std::size_t pris = std::min<std::size_t>(4, piece.size());
        std::memcpy(jonction + enAttente_, p, pris);
        const std::size_t taille = enAttente_ + pris;
        const auto lus = static_cast<std::size_t>(
            DecoderVers(jonction, jonction + taille, TSuiteOctets::Attendue, sortie) - jonction);
        if (lus >= enAttente_) {
            p += lus - enAttente_;
            enAttente_ = 0;
        } else {
            // The piece was too short to end the sequence: all of it waits.
            enAttente_ = taille - lus;
            std::memmove(attente_, jonction + lus, enAttente_);
            p = fin;
        }
    }
    if (p < fin) {
        const unsigned char* arret = DecoderVers(p, fin, TSuiteOctets::Attendue, sortie);
        enAttente_ = static_cast<std::size_t>(fin - arret);
        std::memcpy(attente_, arret, enAttente_);
    }
    texte.resize(static_cast<std::size_t>(sortie - texte.data()));
}

void TDecodeurUtf8::Terminer(std::u16string& texte)
{
    if (enAttente_ == 0)
        return;
    const std::size_t avant = texte.size();
    texte.resize(avant + enAttente_);
    char16_t* sortie = texte.data() + avant;
    DecoderVers(attente_, attente_ + enAttente_, TSuiteOctets::Aucune, sortie);
    texte.resize(static_cast<std::size_t>(sortie - texte.data()));
    enAttente_ = 0;
}

bool CheminUtf8Disponible(TCheminUtf8 chemin)
{
    return chemin == TCheminUtf8::Octets || blocsLatinsDisponibles;
}

TCheminUtf8 CheminUtf8Choisi()
{
    return blocsLatinsChoisis.load() ? TCheminUtf8::Blocs : TCheminUtf8::Octets;
}

bool ChoisirCheminUtf8(TCheminUtf8 chemin)
{
    if (!CheminUtf8Disponible(chemin))
        return false;
    blocsLatinsChoisis.store(chemin == TCheminUtf8::Blocs);
    return true;
}

} // namespace tq
