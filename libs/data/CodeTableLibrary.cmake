include_guard(GLOBAL)
# korvan_code_table_library(NAME KIND CSV SOURCE): a shared library "libNAME.so" in the bin
# folder, built from SOURCE and the record table that generate_code_table.py makes from CSV.
# Only the functions SOURCE marks for export are visible; no project library is linked.
find_program(KORVAN_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT KORVAN_PYTHON)
    find_program(KORVAN_PYTHON NAMES python3 REQUIRED)
endif()

function(korvan_code_table_library name kind csv source)
    set(generator ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/generate_code_table.py)
    set(table ${CMAKE_CURRENT_BINARY_DIR}/${name}Records.inc)
    add_custom_command(OUTPUT ${table}
        COMMAND ${KORVAN_PYTHON} ${generator} ${kind} ${csv} ${table}
        DEPENDS ${generator} ${csv}
        COMMENT "Generating the ${name} record table"
        VERBATIM)
    add_library(${name} SHARED ${source} ${table})
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
    target_link_libraries(${name} PRIVATE korvan_warnings)
    set_target_properties(${name} PROPERTIES
        OUTPUT_NAME ${name}
        LIBRARY_OUTPUT_DIRECTORY ${KORVAN_BIN_DIR}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
endfunction()
