#include "bench/ecrivain_table.h"

#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace tq::bench {

namespace {

// Windows-1252 bytes 0x80 to 0x9F and the characters they stand for; 0 where
// the code page leaves the byte undefined.
constexpr char16_t Plage80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

TEcrivainTable::TEcrivainTable()
{
    octet_.fill('?');
    for (unsigned c = 0; c < 0x80; ++c)
        octet_[c] = static_cast<std::uint8_t>(c);
    for (unsigned c = 0xA0; c < 0x100; ++c)
        octet_[c] = static_cast<std::uint8_t>(c);
    for (unsigned i = 0; i < 32; ++i)
        if (Plage80[i] != 0)
            octet_[Plage80[i]] = static_cast<std::uint8_t>(0x80 + i);
}

char* TEcrivainTable::LigneUtf16(char* sortie, std::u16string_view ligne) const
{
    const char16_t* p = ligne.data();
    const char16_t* const fin = p + ligne.size();
    while (p < fin) {
        if (*p == u'\\' && p + 1 < fin && p[1] == u'"') {
            *sortie++ = '"';
            p += 2;
            continue;
        }
        *sortie++ = static_cast<char>(octet_[*p++]);
    }
    *sortie++ = '\r';
    *sortie++ = '\n';
    return sortie;
}

char* TEcrivainTable::LigneUtf8(char* sortie, std::string_view ligne) const
{
    const auto* p = reinterpret_cast<const unsigned char*>(ligne.data());
    const auto* const fin = p + ligne.size();
    while (p < fin) {
        const unsigned char b = *p;
        if (b < 0x80) {
            if (b == '\\' && p + 1 < fin && p[1] == '"') {
                *sortie++ = '"';
                p += 2;
            } else {
                *sortie++ = static_cast<char>(b);
                ++p;
            }
        } else if (b < 0xE0 && p + 1 < fin) {
            *sortie++ = static_cast<char>(octet_[(b & 0x1Fu) << 6 | (p[1] & 0x3Fu)]);
            p += 2;
        } else if (b < 0xF0 && p + 2 < fin) {
            *sortie++ = static_cast<char>(octet_[(b & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu)]);
            p += 3;
        } else {
            // Beyond the first plane, or cut short: one character the code page lacks.
            *sortie++ = '?';
            p += b >= 0xF0 ? 4 : 1;
        }
    }
    *sortie++ = '\r';
    *sortie++ = '\n';
    return sortie;
}

TFichierFlux::TFichierFlux(const std::filesystem::path& chemin, TSynchronisation synchro)
    : chemin_(chemin)
    , synchro_(synchro)
    , fd_(::open(chemin.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644))
    , tampon_(std::size_t { 1 } << 20)
{
    if (fd_ < 0)
        throw std::runtime_error("cannot create " + chemin.string());
}

TFichierFlux::~TFichierFlux()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void TFichierFlux::Vider(std::size_t place)
{
    std::size_t ecrits = 0;
    while (ecrits < rempli_) {
        const ssize_t n = ::write(fd_, tampon_.data() + ecrits, rempli_ - ecrits);
        if (n <= 0)
            throw std::runtime_error("cannot write " + chemin_.string());
        ecrits += static_cast<std::size_t>(n);
    }
    ecrits_ += rempli_;
    rempli_ = 0;
    if (tampon_.size() < place)
        tampon_.resize(place);
}

std::size_t TFichierFlux::Fermer()
{
    Vider(0);
    const bool synchronise = synchro_ == TSynchronisation::Aucune || ::fsync(fd_) == 0;
    const int fermeture = ::close(fd_);
    fd_ = -1;
    if (fermeture != 0 || !synchronise)
        throw std::runtime_error("cannot write " + chemin_.string());
    return ecrits_;
}

} // namespace tq::bench
