# The default routine database shipped beside the program: data/routines.txt (readable source)
# turned into bin/defaults/Batch_Cad.dat by a small tool that uses the program's own record writer.
# The program copies it into place when no routine database exists yet, so a rebuild never
# overwrites routines a user has added.
add_executable(mkroutinedb ${CMAKE_SOURCE_DIR}/tools/mkroutinedb/main.cpp)
target_link_libraries(mkroutinedb PRIVATE quorvel_core)
# Kept out of bin/: it is a build tool, not part of the program.
set_target_properties(mkroutinedb PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(QUORVEL_ROUTINE_SOURCE ${CMAKE_CURRENT_LIST_DIR}/routines.txt)
set(QUORVEL_DEFAULT_ROUTINES ${CMAKE_BINARY_DIR}/bin/defaults/Batch_Cad.dat)
add_custom_command(
    OUTPUT ${QUORVEL_DEFAULT_ROUTINES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/defaults
    COMMAND mkroutinedb ${QUORVEL_ROUTINE_SOURCE} ${QUORVEL_DEFAULT_ROUTINES}
    DEPENDS mkroutinedb ${QUORVEL_ROUTINE_SOURCE}
    COMMENT "Building the default routine database Batch_Cad.dat"
    VERBATIM)
add_custom_target(default_routines ALL DEPENDS ${QUORVEL_DEFAULT_ROUTINES})

if(BUILD_TESTING)
    add_test(NAME default_routines_check
             COMMAND mkroutinedb --check ${QUORVEL_ROUTINE_SOURCE} ${QUORVEL_DEFAULT_ROUTINES})
    set_tests_properties(default_routines_check PROPERTIES LABELS core)
endif()
