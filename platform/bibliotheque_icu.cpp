#include "platform/bibliotheque_icu.h"

#include <memory>
#include <string>

#include <dlfcn.h>

// ICU's headers rename every function after the library's version
// ("ucnv_open" is "ucnv_open_72"): the name looked up is the renamed one.
#define TQ_CHAINE(x) #x
#define TQ_NOM_ICU(fonction) TQ_CHAINE(fonction)

namespace tq {

namespace {

template <class TFonction> bool Resoudre(void* bibliotheque, const char* nom, TFonction& fonction)
{
    fonction = reinterpret_cast<TFonction>(dlsym(bibliotheque, nom));
    return fonction != nullptr;
}

std::unique_ptr<TBibliothequeIcu> Charger()
{
    // The version the program was built against, as the linker would ask for it.
    const std::string nom = "libicuuc.so." + std::to_string(U_ICU_VERSION_MAJOR_NUM);
    void* bibliotheque = dlopen(nom.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (bibliotheque == nullptr)
        return nullptr;
    auto icu = std::make_unique<TBibliothequeIcu>();
#define TQ_RESOUDRE(fonction) Resoudre(bibliotheque, TQ_NOM_ICU(fonction), icu->fonction)
    const bool complete = TQ_RESOUDRE(ucnv_open) && TQ_RESOUDRE(ucnv_close) && TQ_RESOUDRE(ucnv_toUnicode)
                       && TQ_RESOUDRE(u_isalpha) && TQ_RESOUDRE(u_isJavaSpaceChar) && TQ_RESOUDRE(uidna_openUTS46)
                       && TQ_RESOUDRE(uidna_nameToASCII_UTF8) && TQ_RESOUDRE(uidna_close) && TQ_RESOUDRE(uloc_getParent)
                       && TQ_RESOUDRE(ures_open) && TQ_RESOUDRE(ures_openDirect) && TQ_RESOUDRE(ures_close)
                       && TQ_RESOUDRE(ures_getByKey) && TQ_RESOUDRE(ures_getByIndex) && TQ_RESOUDRE(ures_getType)
                       && TQ_RESOUDRE(ures_getString) && TQ_RESOUDRE(ures_getStringByKey)
                       && TQ_RESOUDRE(ures_getLocaleByType);
#undef TQ_RESOUDRE
    if (!complete) {
        dlclose(bibliotheque);
        return nullptr;
    }
    // Never closed: the converters and bundles it hands out live until exit.
    return icu;
}

} // namespace

const TBibliothequeIcu* BibliothequeIcu()
{
    static const std::unique_ptr<const TBibliothequeIcu> icu = Charger();
    return icu.get();
}

} // namespace tq
