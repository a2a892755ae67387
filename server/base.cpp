#include "server/base.h"

#include "server/erreurs_serveur.h"

#include <sqlite3.h>

namespace tq {

namespace {

// How long a reader waits for a writer of the same file before failing.
constexpr int attenteVerrouMs = 2000;

// SQLite's own texts are English: the usual cases get a French one.
std::string Description(sqlite3* base)
{
    if (base == nullptr)
        return "mémoire insuffisante";
    switch (sqlite3_errcode(base) & 0xFF) {
    case SQLITE_CANTOPEN:
        return "fichier introuvable ou illisible";
    case SQLITE_NOTADB:
        return "le fichier n'est pas une base SQLite";
    case SQLITE_CORRUPT:
        return "base endommagée";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "base occupée";
    case SQLITE_READONLY:
        return "base en lecture seule";
    case SQLITE_FULL:
        return "disque plein";
    case SQLITE_NOMEM:
        return "mémoire insuffisante";
    default:
        return sqlite3_errmsg(base);
    }
}

} // namespace

TBase::TBase(const std::string& chemin, TMode mode)
{
    const int options = mode == TMode::Lecture ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(chemin.c_str(), &base_, options | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        const std::string message = Description(base_);
        sqlite3_close(base_);
        base_ = nullptr;
        throw ErreurBase("Impossible d'ouvrir la base « " + chemin + " » : " + message + ".");
    }
    sqlite3_busy_timeout(base_, attenteVerrouMs);
}

TBase::~TBase()
{
    sqlite3_close(base_);
}

void TBase::Executer(const char* sql)
{
    if (sqlite3_exec(base_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Echouer();
}

void TBase::Echouer() const
{
    throw ErreurBase("Erreur de la base de données : " + Description(base_) + ".");
}

TInstruction::TInstruction(TBase& base, const char* sql)
    : base_(base)
{
    if (sqlite3_prepare_v2(base.Poignee(), sql, -1, &instruction_, nullptr) != SQLITE_OK)
        base.Echouer();
}

TInstruction::~TInstruction()
{
    sqlite3_finalize(instruction_);
}

void TInstruction::LierTexte(int parametre, std::u16string_view texte)
{
    if (sqlite3_bind_text16(instruction_, parametre, texte.data(), static_cast<int>(texte.size() * sizeof(char16_t)),
                            SQLITE_TRANSIENT)
        != SQLITE_OK)
        base_.Echouer();
}

void TInstruction::LierEntier(int parametre, long long valeur)
{
    if (sqlite3_bind_int64(instruction_, parametre, valeur) != SQLITE_OK)
        base_.Echouer();
}

void TInstruction::LierNul(int parametre)
{
    if (sqlite3_bind_null(instruction_, parametre) != SQLITE_OK)
        base_.Echouer();
}

bool TInstruction::Etape()
{
    const int resultat = sqlite3_step(instruction_);
    if (resultat == SQLITE_ROW)
        return true;
    if (resultat == SQLITE_DONE)
        return false;
    base_.Echouer();
}

void TInstruction::Reinitialiser()
{
    sqlite3_reset(instruction_);
    sqlite3_clear_bindings(instruction_);
}

long long TInstruction::Entier(int colonne) const
{
    return sqlite3_column_int64(instruction_, colonne);
}

std::u16string TInstruction::Texte(int colonne) const
{
    const auto* texte = static_cast<const char16_t*>(sqlite3_column_text16(instruction_, colonne));
    if (texte == nullptr)
        return {};
    const int octets = sqlite3_column_bytes16(instruction_, colonne);
    return std::u16string(texte, static_cast<std::size_t>(octets) / sizeof(char16_t));
}

bool TInstruction::EstNul(int colonne) const
{
    return sqlite3_column_type(instruction_, colonne) == SQLITE_NULL;
}

} // namespace tq
