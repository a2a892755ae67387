# The window on Windows, included by app/CMakeLists.txt once tq_statistiques
# exists: a desktop program without a console, with its icon and version as
# Windows resources, stripped in Release.
#   Qt is linked as DLLs so that whoever receives the program can replace
# them, as Qt's LGPL licence asks: the install puts beside the .exe the Qt
# DLLs and the plugins the window loads (platforms/, styles/), the MinGW
# runtime DLLs that Qt's DLLs import, and Qt's licence texts. Qt's own
# deployment tool does not run on a Linux host, so the list is written here.
set(TQ_EDITEUR "TQ")
set(TQ_ICONE_WINDOWS ${CMAKE_CURRENT_SOURCE_DIR}/ressources/tq_statistiques.ico)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/ressources/tq_statistiques.rc.in
               ${CMAKE_CURRENT_BINARY_DIR}/tq_statistiques.rc @ONLY)
target_sources(tq_statistiques PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/tq_statistiques.rc)
set_target_properties(tq_statistiques PROPERTIES WIN32_EXECUTABLE ON)
target_link_options(tq_statistiques PRIVATE $<$<CONFIG:Release>:-s>)

find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
set(tq_dll_qt $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
set(tq_plateformes_qt $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
set(tq_styles_qt $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)
# The window's icon is read from its .ico (no SVG module for Windows).
set(tq_images_qt $<TARGET_FILE:Qt6::QICOPlugin>)
# The runtime of the compiler that built Qt (and this program).
set(tq_dll_mingw)
set(dll_mingw)
if(MINGW)
  set(dll_mingw libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
endif()
foreach(dll ${dll_mingw})
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE chemin OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${chemin}")
    # libwinpthread lives in the MinGW root rather than with the compiler.
    find_file(chemin_${dll} ${dll} PATHS /usr/x86_64-w64-mingw32/lib
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    set(chemin ${chemin_${dll}})
  endif()
  if(NOT EXISTS "${chemin}")
    message(FATAL_ERROR "MinGW runtime library ${dll} not found (package g++-mingw-w64-x86-64-posix)")
  endif()
  list(APPEND tq_dll_mingw ${chemin})
endforeach()

install(TARGETS tq_statistiques RUNTIME DESTINATION .)
install(FILES ${tq_dll_qt} ${tq_dll_mingw} DESTINATION .)
install(FILES ${tq_plateformes_qt} DESTINATION platforms)
install(FILES ${tq_styles_qt} DESTINATION styles)
install(FILES ${tq_images_qt} DESTINATION imageformats)
# (Present in a Qt built by scripts/qt-windows.)
if(EXISTS ${QT6_INSTALL_PREFIX}/licences)
  install(DIRECTORY ${QT6_INSTALL_PREFIX}/licences/ DESTINATION licences/qt)
endif()

# The same folder in the build tree, so that the program and the window's test
# programs run from there under Wine as they will once installed (the tests
# also load Qt Test).
find_package(Qt6 REQUIRED COMPONENTS Test)
add_custom_command(TARGET tq_statistiques POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:tq_statistiques>/platforms
          $<TARGET_FILE_DIR:tq_statistiques>/styles $<TARGET_FILE_DIR:tq_statistiques>/imageformats
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tq_dll_qt} $<TARGET_FILE:Qt6::Test> ${tq_dll_mingw}
          $<TARGET_FILE_DIR:tq_statistiques>
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tq_plateformes_qt} $<TARGET_FILE_DIR:tq_statistiques>/platforms
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tq_styles_qt} $<TARGET_FILE_DIR:tq_statistiques>/styles
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tq_images_qt} $<TARGET_FILE_DIR:tq_statistiques>/imageformats
  VERBATIM)
