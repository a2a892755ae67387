# The Windows archive: a ZIP with tq_export.exe and LISEZMOI.txt, made by
#   cmake --build build-windows --target package
# in a build for Windows (the cross build of scripts/tester-windows).
install(FILES ${PROJECT_SOURCE_DIR}/LISEZMOI.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tq-statistique)
set(CPACK_PACKAGE_VENDOR "TQ")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Statistiques des centres du groupe (liste des centres, statistiques, accès)")
set(CPACK_SYSTEM_NAME windows-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
