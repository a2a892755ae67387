# The Windows packages, made by
#   cmake --build build-windows --target package
# in a build for Windows (the cross build of scripts/tester-windows), at the
# top of build-windows/:
# - a French setup program (NSIS, Debian's nsis package): installs for the
#   machine into Program Files\TQ Statistique, with a Start-menu shortcut, an
#   entry in "Programmes et fonctionnalités" and an uninstaller; /S installs
#   and uninstalls silently;
# - a ZIP of the same folder, the portable form.
# Both hold what the build installs: tq_export.exe and LISEZMOI.txt, and the
# window with its Qt DLLs and plugins when it is built.
install(FILES ${PROJECT_SOURCE_DIR}/LISEZMOI.txt DESTINATION .)

set(CPACK_PACKAGE_NAME tq-statistique)
set(CPACK_PACKAGE_VENDOR "TQ")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Statistiques des centres du groupe (liste des centres, statistiques, accès)")
set(CPACK_SYSTEM_NAME windows-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)

find_program(TQ_MAKENSIS makensis)
if(TARGET tq_statistiques AND TQ_MAKENSIS)
  set(CPACK_GENERATOR ZIP NSIS)
else()
  set(CPACK_GENERATOR ZIP)
endif()

set(CPACK_PACKAGE_INSTALL_DIRECTORY "TQ Statistique")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "TQ Statistique")
set(CPACK_NSIS_PACKAGE_NAME "TQ Statistique")
set(CPACK_NSIS_DISPLAY_NAME "TQ Statistique")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit setup program: the default 32-bit one would also put the
# registry entries under WOW6432Node.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/app/ressources/tq_statistiques.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/app/ressources/tq_statistiques.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME tq_statistiques.exe)
set(CPACK_NSIS_MENU_LINKS "tq_statistiques.exe" "TQ Statistique" "LISEZMOI.txt" "Lisez-moi")
set(CPACK_NSIS_UNINSTALL_NAME "Desinstaller")
# An earlier installation is removed first (silently with /S), so that an
# update leaves no file of the old version behind.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

# The setup program speaks French only: CPack's own NSIS script, with its
# list of languages reduced to French and its few English messages put into
# French, found by CPack before its own.
set(modele_nsis ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in)
if(EXISTS ${modele_nsis})
  file(READ ${modele_nsis} texte)
  string(REGEX REPLACE "(  !insertmacro MUI_LANGUAGE \"[A-Za-z]+\"[^\n]*\n)+"
         "  !insertmacro MUI_LANGUAGE \"French\"\n" texte "${texte}")
  string(REPLACE "@CPACK_NSIS_PACKAGE_NAME@ is already installed. $\\n$\\nDo you want to uninstall the old version before installing the new one?"
         "@CPACK_NSIS_PACKAGE_NAME@ est déjà installé.$\\n$\\nDésinstaller l'ancienne version avant d'installer la nouvelle ?"
         texte "${texte}")
  string(REPLACE "\"Uninstall failed.\"" "\"La désinstallation a échoué.\"" texte "${texte}")
  string(REPLACE "\"Install Options\" \"Choose options for installing @CPACK_NSIS_PACKAGE_NAME@\""
         "\"Options d'installation\" \"Choisir les options d'installation de @CPACK_NSIS_PACKAGE_NAME@\""
         texte "${texte}")
  string(REPLACE "\\Uninstall.lnk" "\\Désinstaller TQ Statistique.lnk" texte "${texte}")
  file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in "${texte}")
  list(PREPEND CMAKE_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)
endif()
include(CPack)
