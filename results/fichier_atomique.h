#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace tq {

// A file that takes its path's place whole or not at all. Its bytes go to a
// temporary file in the same folder, which only Valider() puts on the disk and
// renames over the path: until then a file already there keeps its content,
// and a failure, an object destroyed without Valider(), or the death of the
// process leaves nothing behind (on a file system without unnamed files, only
// where the process removes it when killed: arret_par_signal.h). A file that
// is replaced keeps its owner and permissions. A symbolic link at the path
// stays a link: the file it names is written, also when it does not exist
// yet.
class TFichierAtomique {
public:
    // Creates the temporary file. Throws ErreurCreationFichier, naming the full
    // path, when the file cannot be created (missing folder, access refused, a
    // folder or a device at the path, read-only medium, name too long, ...).
    explicit TFichierAtomique(const std::filesystem::path& chemin);
    ~TFichierAtomique();
    TFichierAtomique(const TFichierAtomique&) = delete;
    TFichierAtomique& operator=(const TFichierAtomique&) = delete;

    // Throws ErreurEcritureFlux when writing fails (a full disk).
    void Ajouter(std::string_view octets);

    // Puts the file on the disk, then in the path's place. Throws
    // ErreurEcritureFlux when the bytes cannot be put on the disk, and
    // ErreurCreationFichier when the file cannot take the path.
    void Valider();

private:
    struct TEtat;
    std::unique_ptr<TEtat> etat_;
};

} // namespace tq
