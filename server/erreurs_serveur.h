#pragma once

#include "platform/erreur.h"

namespace tq {

// The request cannot be answered as it was sent (not JSON, unknown query,
// unreadable date): the client gets status 400 and this message.
class ErreurRequete : public Erreur {
public:
    using Erreur::Erreur;
};

// The base could not be opened, read or written: status 500 for a request,
// a start-up failure for the program.
class ErreurBase : public Erreur {
public:
    using Erreur::Erreur;
};

} // namespace tq
