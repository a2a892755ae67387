#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace tq::bench {

// The plain way to write a result file, used as the reference: one table
// look-up per character into Windows-1252, each backslash directly before a
// double quote dropped, CR LF after each line, the bytes stored straight into
// one buffer sized up front. Characters outside Windows-1252 give "?" (the
// generated answers hold none).
class TEcrivainTable {
public:
    TEcrivainTable();

    // Each writes the line and its CR LF at `sortie` and returns the end. The
    // room needed is at most the line's size (in code units or bytes) + 2.
    char* LigneUtf16(char* sortie, std::u16string_view ligne) const;
    char* LigneUtf8(char* sortie, std::string_view ligne) const;

private:
    std::array<std::uint8_t, 65536> octet_ {};
};

enum class TSynchronisation : std::uint8_t { Aucune, Disque };

// The reference's way to put the lines on disk: converted into a buffer of
// 1 MiB that goes to the file each time it fills, so the memory written is
// the same small buffer over and over (created or emptied, then written;
// fsync before closing when asked).
class TFichierFlux {
public:
    TFichierFlux(const std::filesystem::path& chemin, TSynchronisation synchro);
    ~TFichierFlux();
    TFichierFlux(const TFichierFlux&) = delete;
    TFichierFlux& operator=(const TFichierFlux&) = delete;

    template <class TLigne> void Ajouter(const TEcrivainTable& table, TLigne ligne)
    {
        const std::size_t place = ligne.size() + 2;
        if (tampon_.size() - rempli_ < place)
            Vider(place);
        char* debut = tampon_.data() + rempli_;
        char* fin;
        if constexpr (sizeof(ligne[0]) == 2)
            fin = table.LigneUtf16(debut, ligne);
        else
            fin = table.LigneUtf8(debut, ligne);
        rempli_ += static_cast<std::size_t>(fin - debut);
    }

    // Writes what is left, then closes; the number of bytes written.
    std::size_t Fermer();

private:
    // Writes the buffer out and makes sure it can take `place` bytes.
    void Vider(std::size_t place);

    std::filesystem::path chemin_;
    TSynchronisation synchro_;
    int fd_ = -1;
    std::vector<char> tampon_;
    std::size_t rempli_ = 0;
    std::size_t ecrits_ = 0;
};

} // namespace tq::bench
