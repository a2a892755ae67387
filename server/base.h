#pragma once

#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tq {

// One connection to the SQLite base. Every failure raises ErreurBase with
// SQLite's own description after a French lead-in.
class TBase {
public:
    enum class TMode {
        Lecture,  // the file must exist; nothing is written
        Creation, // the file is created when missing
    };

    TBase(const std::string& chemin, TMode mode);
    ~TBase();
    TBase(const TBase&) = delete;
    TBase& operator=(const TBase&) = delete;

    // Runs statements that take no parameters and return no rows.
    void Executer(const char* sql);

    sqlite3* Poignee() const { return base_; }
    // Raises ErreurBase with the connection's last error.
    [[noreturn]] void Echouer() const;

private:
    sqlite3* base_ = nullptr;
};

// A prepared statement. Values always go through the Lier functions: no SQL
// text is ever built from what a request holds.
class TInstruction {
public:
    TInstruction(TBase& base, const char* sql);
    ~TInstruction();
    TInstruction(const TInstruction&) = delete;
    TInstruction& operator=(const TInstruction&) = delete;

    // Parameters are numbered from 1.
    void LierTexte(int parametre, std::u16string_view texte);
    void LierEntier(int parametre, long long valeur);
    void LierNul(int parametre);

    // Steps once: true when a row is ready, false when the statement is done.
    bool Etape();
    // Makes the statement ready for new values and a new run.
    void Reinitialiser();

    // Columns are numbered from 0. A NULL reads as 0 or as the empty text.
    long long Entier(int colonne) const;
    std::u16string Texte(int colonne) const;
    bool EstNul(int colonne) const;

private:
    TBase& base_;
    sqlite3_stmt* instruction_ = nullptr;
};

} // namespace tq
