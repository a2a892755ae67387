#include "app/export/reglages_locale_windows.h"
#include "app/export/reglages_systeme.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace tq {

namespace {

// One item of the locale's data; empty when the system has none.
std::u16string InfoLocale(const wchar_t* nomLocale, LCTYPE quoi)
{
    wchar_t tampon[128];
    const int n = GetLocaleInfoEx(nomLocale, quoi, tampon, 128);
    if (n <= 1)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(tampon), static_cast<std::size_t>(n - 1));
}

} // namespace

TReglagesRegionaux ReglagesDeLocale(std::u16string_view nomLocale)
{
    const std::wstring nom(nomLocale.begin(), nomLocale.end());
    const wchar_t* locale = nom.empty() ? LOCALE_NAME_USER_DEFAULT : nom.c_str();
    // The system's short date pattern uses the same d, M and y letters.
    const std::u16string motifDate = InfoLocale(locale, LOCALE_SSHORTDATE);
    const std::u16string heure = InfoLocale(locale, LOCALE_STIME);
    const std::u16string decimal = InfoLocale(locale, LOCALE_SDECIMAL);
    return ReglagesDepuisLocale(motifDate, heure.empty() ? u':' : heure.front(),
                                decimal.empty() ? u'.' : decimal.front());
}

TReglagesRegionaux ReglagesSysteme()
{
    return ReglagesDeLocale(u"");
}

std::string HorodatageLocal()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char texte[32];
    std::snprintf(texte, sizeof texte, "%04u-%02u-%02u %02u:%02u:%02u.%03u", unsigned { t.wYear },
                  unsigned { t.wMonth }, unsigned { t.wDay }, unsigned { t.wHour }, unsigned { t.wMinute },
                  unsigned { t.wSecond }, unsigned { t.wMilliseconds });
    return texte;
}

} // namespace tq
