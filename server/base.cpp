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
    if (sqlite3_open_v2(chemin.c_str(), &m_base, options | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        const std::string message = Description(m_base);
        sqlite3_close(m_base);
        m_base = nullptr;
        throw ErreurBase("Impossible d'ouvrir la base « " + chemin + " » : " + message + ".");
    }
    sqlite3_busy_timeout(m_base, attenteVerrouMs);
}

TBase::~TBase()
{
    sqlite3_close(m_base);
}

void TBase::Executer(const char* sql)
{
    if (sqlite3_exec(m_base, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        Echouer();
}

void TBase::Echouer() const
{
    throw ErreurBase("Erreur de la base de données : " + Description(m_base) + ".");
}

TInstruction::TInstruction(TBase& base, const char* sql)
    : m_base(base)
{
    if (sqlite3_prepare_v2(base.Poignee(), sql, -1, &m_instruction, nullptr) != SQLITE_OK)
        base.Echouer();
}

TInstruction::~TInstruction()
{
    sqlite3_finalize(m_instruction);
}

void TInstruction::LierTexte(int parametre, std::u16string_view texte)
{
    if (sqlite3_bind_text16(m_instruction, parametre, texte.data(), static_cast<int>(texte.size() * sizeof(char16_t)),
                            SQLITE_TRANSIENT)
        != SQLITE_OK)
        m_base.Echouer();
}

void TInstruction::LierEntier(int parametre, long long valeur)
{
    if (sqlite3_bind_int64(m_instruction, parametre, valeur) != SQLITE_OK)
        m_base.Echouer();
}

void TInstruction::LierNul(int parametre)
{
    if (sqlite3_bind_null(m_instruction, parametre) != SQLITE_OK)
        m_base.Echouer();
}

bool TInstruction::Etape()
{
    const int resultat = sqlite3_step(m_instruction);
    if (resultat == SQLITE_ROW)
        return true;
    if (resultat == SQLITE_DONE)
        return false;
    m_base.Echouer();
}

void TInstruction::Reinitialiser()
{
    sqlite3_reset(m_instruction);
    sqlite3_clear_bindings(m_instruction);
}

long long TInstruction::Entier(int colonne) const
{
    return sqlite3_column_int64(m_instruction, colonne);
}

std::u16string TInstruction::Texte(int colonne) const
{
    const auto* texte = static_cast<const char16_t*>(sqlite3_column_text16(m_instruction, colonne));
    if (texte == nullptr)
        return {};
    const int octets = sqlite3_column_bytes16(m_instruction, colonne);
    return std::u16string(texte, static_cast<std::size_t>(octets) / sizeof(char16_t));
}

bool TInstruction::EstNul(int colonne) const
{
    return sqlite3_column_type(m_instruction, colonne) == SQLITE_NULL;
}

} // namespace tq
