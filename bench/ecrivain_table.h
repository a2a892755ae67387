#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

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

// open, write, (fsync,) close: the file replaced in place.
void EcrireFichierSimple(const std::filesystem::path& chemin, std::string_view octets, TSynchronisation synchro);

} // namespace tq::bench
