// Prints the regional settings the window reads from QLocale::system() in
// the environment this program was started with: the short date pattern, then
// the date, time and decimal separators, one per line, in UTF-8.
#include <QLocale>

#include <iostream>

#include "app/reglages_qlocale.h"
#include "platform/texte_utf.h"

int main()
{
    const tq::TReglagesRegionaux reglages = tq::ReglagesDepuisQLocale(QLocale::system());
    std::cout << tq::VersUtf8(reglages.formatDateCourt) << '\n'
              << tq::VersUtf8(std::u16string(1, reglages.separateurDate)) << '\n'
              << tq::VersUtf8(std::u16string(1, reglages.separateurHeure)) << '\n'
              << tq::VersUtf8(std::u16string(1, reglages.separateurDecimal)) << '\n';
    return 0;
}
