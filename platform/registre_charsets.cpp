#include "platform/registre_charsets.h"

#include "platform/caracteres.h"
#include "platform/charsets_enregistres.h"

#include <array>

namespace tq {

namespace {

struct TConvertisseur {
    int codePage;
    std::string_view nom;
};

// The conversion library's name for each code page of the registry that is
// not decoded by a decoder of our own. An empty name: the library lacks it.
constexpr std::array convertisseurs = std::to_array<TConvertisseur>({
    { 37, "ibm-37" },
    { 500, "ibm-500" },
    { 775, "ibm-775" },
    { 850, "ibm-850" },
    { 852, "ibm-852" },
    { 855, "ibm-855" },
    { 857, "ibm-857" },
    { 858, "ibm-858" },
    { 860, "ibm-860" },
    { 861, "ibm-861" },
    { 862, "ibm-862" },
    { 863, "ibm-863" },
    { 864, "ibm-864" },
    { 865, "ibm-865" },
    { 866, "ibm-866" },
    { 869, "ibm-869" },
    { 870, "ibm-870" },
    { 874, "windows-874" },
    { 932, "windows-932" },
    { 936, "windows-936" },
    { 949, "windows-949" },
    { 950, "windows-950" },
    { 1026, "ibm-1026" },
    { 1047, "ibm-1047" },
    { 1140, "ibm-1140" },
    { 1141, "ibm-1141" },
    { 1142, "ibm-1142" },
    { 1143, "ibm-1143" },
    { 1144, "ibm-1144" },
    { 1145, "ibm-1145" },
    { 1146, "ibm-1146" },
    { 1147, "ibm-1147" },
    { 1148, "ibm-1148" },
    { 1149, "ibm-1149" },
    { 1250, "windows-1250" },
    { 1251, "windows-1251" },
    { 1253, "windows-1253" },
    { 1254, "windows-1254" },
    { 1255, "windows-1255" },
    { 1256, "windows-1256" },
    { 1257, "windows-1257" },
    { 1258, "windows-1258" },
    { 10000, "macintosh" },
    { 12000, "UTF-32LE" },
    { 12001, "UTF-32BE" },
    { 20273, "ibm-273" },
    { 20277, "ibm-277" },
    { 20278, "ibm-278" },
    { 20280, "ibm-280" },
    { 20284, "ibm-284" },
    { 20285, "ibm-285" },
    { 20290, "ibm-290" },
    { 20297, "ibm-297" },
    { 20420, "ibm-420" },
    { 20423, "" },
    { 20424, "ibm-424" },
    { 20838, "ibm-838" },
    { 20866, "KOI8-R" },
    { 20871, "ibm-871" },
    { 20880, "" },
    { 20905, "" },
    { 20924, "" },
    { 21866, "KOI8-U" },
    { 28591, "ISO-8859-1" },
    { 28592, "ISO-8859-2" },
    { 28593, "ISO-8859-3" },
    { 28594, "ISO-8859-4" },
    { 28595, "ISO-8859-5" },
    { 28596, "ISO-8859-6" },
    { 28597, "ISO-8859-7" },
    { 28598, "ISO-8859-8" },
    { 28599, "ISO-8859-9" },
    { 28603, "ISO-8859-13" },
    { 28605, "ISO-8859-15" },
    { 38598, "ISO-8859-8-I" },
    { 50220, "ISO-2022-JP" },
    { 50225, "ISO-2022-KR" },
    { 51932, "EUC-JP" },
    { 51949, "EUC-KR" },
    { 52936, "HZ-GB-2312" },
    { 54936, "GB18030" },
    { 65000, "UTF-7" },
});

} // namespace

int CodePageCharset(std::string_view nom)
{
    for (const TNomCharset& entree : CharsetsEnregistres)
        if (EgauxSansCasse(entree.nom, nom))
            return entree.codePage;
    return CodePageAucun;
}

std::string_view NomConvertisseur(int codePage)
{
    for (const TConvertisseur& c : convertisseurs)
        if (c.codePage == codePage)
            return c.nom;
    return {};
}

} // namespace tq
