#include "app/export/ligne_commande.h"

namespace tq {

std::vector<std::string> ArgumentsUtf8(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

void ConsoleEnUtf8()
{
}

} // namespace tq
