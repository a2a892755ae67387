#include "app/commandes/message_echec.h"

namespace tq {

namespace {

std::string MessageLePlusInterieur(const std::exception& echec)
{
    std::string interieur;
    bool emboitee = false;
    // Walk down the chain of nested failures without recursion; each level
    // rethrows its inner failure once.
    const auto* niveau = dynamic_cast<const std::nested_exception*>(&echec);
    while (niveau != nullptr && niveau->nested_ptr() != nullptr) {
        try {
            std::rethrow_exception(niveau->nested_ptr());
        } catch (const std::exception& suivant) {
            interieur = suivant.what();
            emboitee = true;
            niveau = dynamic_cast<const std::nested_exception*>(&suivant);
        } catch (...) {
            interieur.clear();
            niveau = nullptr;
        }
    }
    return emboitee && !interieur.empty() ? interieur : std::string(echec.what());
}

std::string AvecPointFinal(std::string message)
{
    // UTF-8: a final byte of a multi-byte character is above 0x7F, like the
    // code of the character it ends, so the byte test gives the same answer.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > 46)
        message.push_back('.');
    return message;
}

} // namespace

std::string MessageEchec(const std::exception& echec)
{
    return AvecPointFinal(MessageLePlusInterieur(echec));
}

std::string MessageEchecInconnu()
{
    return AvecPointFinal("Erreur inconnue");
}

} // namespace tq
