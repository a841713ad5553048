include_guard(GLOBAL)
# Where `cmake --install` and the package put Korvan. The programs find their code-table
# libraries, templates, help and pictures beside themselves (through /proc/self/exe, which
# resolves links), so all of them share one private folder; bin/ holds only relative links
# to the programs in it.
include(GNUInstallDirs)

# lib/korvan, not the multiarch library folder: it holds a program's private files, as
# /usr/lib/<package> does on Debian.
set(KORVAN_INSTALL_DIR "lib/korvan" CACHE STRING
    "Folder, relative to the prefix, that holds the programs and everything they find beside themselves")
if(IS_ABSOLUTE "${KORVAN_INSTALL_DIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
    message(FATAL_ERROR "KORVAN_INSTALL_DIR and CMAKE_INSTALL_BINDIR must be relative to the prefix")
endif()

# korvan_install_program(TARGET): installs the program into the private folder and links
# bin/<program> to it with a relative link, so the installed tree can be moved as a whole.
function(korvan_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${KORVAN_INSTALL_DIR})
    file(RELATIVE_PATH folder_from_bin "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${KORVAN_INSTALL_DIR}")
    set(program $<TARGET_FILE_NAME:${target}>)
    install(CODE "
        set(korvan_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${korvan_bin}\")
        message(STATUS \"Installing: \${korvan_bin}/${program} -> ${folder_from_bin}/${program}\")
        file(CREATE_LINK \"${folder_from_bin}/${program}\" \"\${korvan_bin}/${program}\" SYMBOLIC)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${korvan_bin}/${program}\")
    ")
endfunction()

# korvan_install_beside_programs(SOURCE NAME): installs a file the programs find beside
# themselves under NAME (which may hold a subfolder) in the private folder.
function(korvan_install_beside_programs source name)
    get_filename_component(subfolder "${name}" DIRECTORY)
    get_filename_component(file_name "${name}" NAME)
    install(FILES ${source} DESTINATION "${KORVAN_INSTALL_DIR}/${subfolder}" RENAME ${file_name})
endfunction()
