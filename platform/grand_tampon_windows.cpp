#include "platform/grand_tampon.h"

namespace tq {

// Windows gives large pages only to accounts holding the "lock pages in
// memory" privilege, which an operator's account does not have, and offers no
// advice on ordinary memory; the buffer's own allocator already takes large
// blocks straight from VirtualAlloc.
void ConseillerGrandesPages(void*, std::size_t)
{
}

// Fresh memory comes page by page on first write here too, but Windows has no
// call that brings in ordinary private pages ahead of it.
bool PreparerPages(void*, std::size_t)
{
    return false;
}

void ReserverGrandTampon(std::string& tampon, std::size_t taille)
{
    if (tampon.capacity() < taille)
        tampon.reserve(taille);
}

std::unique_ptr<char[]> NouveauGrandTampon(std::size_t taille)
{
    return std::unique_ptr<char[]>(new char[taille]);
}

void ReserverGrandTexte(std::u16string& texte, std::size_t unites)
{
    if (texte.capacity() < unites)
        texte.reserve(unites);
}

} // namespace tq
