#pragma once

#include <string>

#include "platform/erreur.h"

namespace tq {

// A centre list answer, or one of its centres, that is a JSON value of
// another kind than an object.
class ErreurTranstypage : public Erreur {
public:
    ErreurTranstypage()
        : Erreur("Transtypage de classe incorrect")
    {
    }
};

// The result file could not be created; `description` is the system's text
// for the cause.
class ErreurCreationFichier : public Erreur {
public:
    ErreurCreationFichier(const std::string& cheminComplet, const std::string& description)
        : Erreur("Impossible de créer le fichier \"" + cheminComplet + "\". " + description)
    {
    }
};

// Writing the result file's bytes failed after it had been created.
class ErreurEcritureFlux : public Erreur {
public:
    ErreurEcritureFlux()
        : Erreur("Erreur d'écriture dans le flux")
    {
    }
};

// The answer to a result lines query could not be read at all.
class ErreurReponseIllisible : public Erreur {
public:
    ErreurReponseIllisible()
        : Erreur("Réponse du serveur illisible : aucun fichier n'a été écrit")
    {
    }
};

} // namespace tq
