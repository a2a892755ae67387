#include "app/export/ligne_commande.h"

#include <windows.h>

#include <shellapi.h>

namespace tq {

namespace {

std::string VersUtf8(const wchar_t* texte)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, texte, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texte, -1, utf8.data(), n, nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

} // namespace

std::vector<std::string> ArgumentsUtf8(int argc, char** argv)
{
    int n = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &n);
    if (arguments == nullptr)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> utf8;
    for (int i = 1; i < n; ++i)
        utf8.push_back(VersUtf8(arguments[i]));
    LocalFree(arguments);
    return utf8;
}

void ConsoleEnUtf8()
{
    SetConsoleOutputCP(CP_UTF8);
}

} // namespace tq
