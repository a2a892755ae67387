# Run by CPack on each package's staged files, after CPACK_STRIP_FILES: the
# compiler's ".comment" section (its name and version, once per object) and
# the ".note" section tell a user nothing, so they go as Debian's own
# packaging tools remove them.
find_program(strip_commande NAMES strip REQUIRED)
# One folder per component, or the files themselves without components.
file(GLOB programmes LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*/usr/bin/*"
     "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*")
foreach(programme ${programmes})
  execute_process(COMMAND ${strip_commande} --remove-section=.comment --remove-section=.note ${programme}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
