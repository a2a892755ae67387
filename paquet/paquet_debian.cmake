# Debian packages, one per component:
#  - tq-statistique: the window tq_statistiques and tq_export (component
#    "fenetre", where every install rule without a component goes);
#  - tq-statistique-serveur: the stand-in server, alone in needing
#    cpp-httplib and SQLite (component "serveur").
# Each carries its copyright, its changelog and the manual pages of its
# programs under /usr/share/doc and /usr/share/man, compressed as Debian
# expects. Built with: cpack -G DEB (in a Release build folder).

set(TQ_CONTACT_PAQUET "Service informatique du siège <informatique@example.invalid>"
    CACHE STRING "Maintainer of the Debian packages (name <address>)")

# Binaries as a packager builds them: fortified, with a read-only relocation
# table bound at start-up. The sanitizer and fuzzing builds keep their own.
if(NOT TQ_SANITIZE AND NOT TQ_FUZZ)
  target_compile_options(tq_options INTERFACE
    $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2> -fstack-protector-strong)
  target_link_options(tq_options INTERFACE -Wl,-z,relro -Wl,-z,now)
endif()

find_program(TQ_GZIP gzip REQUIRED)
set(dossier_paquet ${CMAKE_CURRENT_BINARY_DIR}/paquet)

# Compressed with -n: no name or time stamp in the file, so that two builds
# of one version give the same bytes.
function(tq_fichier_compresse source cible)
  configure_file(${source} ${dossier_paquet}/${cible} @ONLY)
  add_custom_command(OUTPUT ${dossier_paquet}/${cible}.gz
    COMMAND ${TQ_GZIP} -9nc ${dossier_paquet}/${cible} > ${dossier_paquet}/${cible}.gz
    DEPENDS ${dossier_paquet}/${cible} VERBATIM)
  set_property(GLOBAL APPEND PROPERTY tq_fichiers_compresses ${dossier_paquet}/${cible}.gz)
endfunction()

configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright ${dossier_paquet}/copyright @ONLY)
tq_fichier_compresse(${CMAKE_CURRENT_LIST_DIR}/changelog changelog)

set(composants_paquet)
if(TQ_APP)
  list(APPEND composants_paquet fenetre)
  foreach(programme tq_statistiques tq_export)
    tq_fichier_compresse(${CMAKE_CURRENT_LIST_DIR}/man/${programme}.1 ${programme}.1)
    install(FILES ${dossier_paquet}/${programme}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT fenetre)
  endforeach()
endif()
if(TQ_SERVEUR)
  list(APPEND composants_paquet serveur)
  tq_fichier_compresse(${CMAKE_CURRENT_LIST_DIR}/man/tq_serveur_statistiques.1 tq_serveur_statistiques.1)
  install(FILES ${dossier_paquet}/tq_serveur_statistiques.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT serveur)
endif()
get_property(fichiers_compresses GLOBAL PROPERTY tq_fichiers_compresses)
add_custom_target(tq_fichiers_paquet ALL DEPENDS ${fichiers_compresses})

set(CPACK_DEBIAN_FENETRE_PACKAGE_NAME tq-statistique)
set(CPACK_DEBIAN_SERVEUR_PACKAGE_NAME tq-statistique-serveur)
foreach(composant ${composants_paquet})
  string(TOUPPER ${composant} COMPOSANT)
  install(FILES ${dossier_paquet}/copyright ${dossier_paquet}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${COMPOSANT}_PACKAGE_NAME} COMPONENT ${composant})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${composants_paquet})
set(CPACK_PACKAGE_NAME tq-statistique)
set(CPACK_PACKAGE_VENDOR "TQ")
set(CPACK_PACKAGE_CONTACT "${TQ_CONTACT_PAQUET}")
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/nettoyer_binaires.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Directories as Debian installs them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FENETRE_PACKAGE_SECTION misc)
# ICU is loaded by the programs when first needed, so the shared libraries'
# list does not name it.
find_package(ICU 72 REQUIRED COMPONENTS uc)
string(REGEX MATCH "^[0-9]+" icu_version_majeure "${ICU_VERSION}")
# libqt6svg6: the SVG plugin that draws the windows' icon.
set(CPACK_DEBIAN_FENETRE_PACKAGE_DEPENDS "fonts-crosextra-carlito, xdg-utils, libqt6svg6, libicu${icu_version_majeure}")
set(CPACK_DEBIAN_SERVEUR_PACKAGE_DEPENDS "libicu${icu_version_majeure}")
set(CPACK_COMPONENT_FENETRE_DESCRIPTION
    "statistiques des centres du groupe pour le siège
TQ Statistique interroge le serveur de statistiques du groupe et met ses
réponses à la disposition du siège : la liste des centres, affichée dans
deux listes ou enregistrée en JSON, les statistiques d'une période et la
liste des accès, enregistrées en fichiers CSV (Windows-1252, fins de ligne
CR LF) prêts pour un tableur. Chaque étape est consignée dans un journal
horodaté.
.
Le paquet contient la fenêtre tq_statistiques, avec son entrée de menu, et
l'outil en ligne de commande tq_export, qui exécute les mêmes requêtes
depuis un script ou une tâche planifiée.")

set(CPACK_DEBIAN_SERVEUR_PACKAGE_SECTION net)
set(CPACK_COMPONENT_SERVEUR_DESCRIPTION
    "serveur de statistiques de démonstration pour TQ Statistique
tq_serveur_statistiques répond aux requêtes de TQ Statistique (liste des
centres, statistiques d'une période, liste des accès) à partir d'une base
SQLite, à la place du serveur de statistiques du groupe, pour la
démonstration et les essais. L'option --demo crée une base de
démonstration : 42 centres, trois ans d'activité et un journal des accès.")

include(CPack)
