#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tq {

// Puts `octets` on disk at `chemin`, whole or not at all: they are written to
// a temporary file in the same folder, flushed to the disk, then renamed over
// the path, so a file already there keeps its content until the new one
// replaces it, and a failure leaves neither a partial file nor the temporary
// one. A file that is replaced keeps its permissions. A symbolic link at the
// path stays a link: the file it names is replaced.
//
// Throws ErreurCreationFichier, naming the full path, when the file cannot be
// created (missing folder, access refused, a folder or a device at the path,
// read-only medium, name too long, ...), and ErreurEcritureFlux when writing
// fails part-way (a full disk).
void EcrireFichierEntier(const std::filesystem::path& chemin, std::string_view octets);

// Where the bytes of a file go as they are made: appended to Tampon(), which
// is handed to the disk each time Avancer() finds a piece worth a write in it.
// The piece is written on a thread of its own while the next one is made, and
// the two buffers are reused, so a large file never stands whole in memory.
class TSortieFichier {
public:
    std::string& Tampon() { return tampon_; }
    void Avancer()
    {
        if (tampon_.size() >= TaillePiece)
            confier_(tampon_);
    }
    // Bytes already whole in memory, written as they stand.
    void Ecrire(std::string_view octets)
    {
        Vider();
        ecrire_(octets);
    }

private:
    friend void EcrireFichierEntier(const std::filesystem::path&, const std::function<void(TSortieFichier&)>&);
    static constexpr std::size_t TaillePiece = std::size_t { 1 } << 20;
    // `confier` takes the bytes of a full buffer, leaving it empty; `ecrire`
    // writes bytes at once, after those already handed over.
    TSortieFichier(std::function<void(std::string&)> confier, std::function<void(std::string_view)> ecrire)
        : confier_(std::move(confier))
        , ecrire_(std::move(ecrire))
    {
    }
    void Vider()
    {
        if (!tampon_.empty())
            confier_(tampon_);
    }

    std::string tampon_;
    std::function<void(std::string&)> confier_;
    std::function<void(std::string_view)> ecrire_;
};

// The same whole-or-nothing write, of the bytes that `produire` appends to its
// output. When `produire` throws, its exception passes on and nothing is left
// on disk, as for a failed write.
void EcrireFichierEntier(const std::filesystem::path& chemin, const std::function<void(TSortieFichier&)>& produire);

} // namespace tq
