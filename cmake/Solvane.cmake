# Shared build settings: one interface target carries every warning and strictness flag.
add_library(solvane_options INTERFACE)
target_compile_options(solvane_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
target_compile_definitions(solvane_options INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER)

if(SOLVANE_WERROR)
    target_compile_options(solvane_options INTERFACE -Werror)
endif()

# Folders that talk to registers and bytes also warn on narrowing conversions.
add_library(solvane_strict INTERFACE)
target_compile_options(solvane_strict INTERFACE -Wconversion -Wsign-conversion)

if(SOLVANE_SANITIZE)
    target_compile_options(solvane_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(solvane_options INTERFACE -fsanitize=address,undefined)
endif()

# solvane_public_headers(NAME SOURCE...): the library's public include path, so that a target reaches
# the headers of the libraries it links and no others (src/ is no include root). The folder
# build/include/NAME holds a link to each of the library's own headers under the name code includes
# it by (hw/BoardBus.h -> src/hw/BoardBus.h). Links to single headers rather than to the source folder,
# because a folder such as power/ also holds the folder of another library (power/pages/) that its
# own library must not reach. The links are made anew at each configure, which the sources' glob
# triggers whenever a header comes or goes.
function(solvane_public_headers name)
    set(include_root ${PROJECT_BINARY_DIR}/include/${name})
    file(REMOVE_RECURSE ${include_root})
    foreach(source IN LISTS ARGN)
        if(source MATCHES "\\.h$")
            file(RELATIVE_PATH header ${PROJECT_SOURCE_DIR}/src ${source})
            get_filename_component(header_folder ${include_root}/${header} DIRECTORY)
            file(MAKE_DIRECTORY ${header_folder})
            file(CREATE_LINK ${source} ${include_root}/${header} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${name} PUBLIC ${include_root})
endfunction()

# solvane_library(NAME FOLDER [STRICT] [GROUPS SUB...] LINKS ...): one static library per source
# folder, made of every .cpp and .h in it and in the group folders named (a folder holding another
# library, such as power/pages, is not a group).
function(solvane_library name folder)
    cmake_parse_arguments(ARG "STRICT" "" "GROUPS;LINKS" ${ARGN})
    set(patterns ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
    foreach(group IN LISTS ARG_GROUPS)
        list(APPEND patterns ${PROJECT_SOURCE_DIR}/src/${folder}/${group}/*.cpp
            ${PROJECT_SOURCE_DIR}/src/${folder}/${group}/*.h)
    endforeach()
    file(GLOB sources CONFIGURE_DEPENDS ${patterns})
    if(NOT sources)
        # A folder that holds no sources yet still takes part in the link graph.
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE solvane_options ${ARG_LINKS})
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC solvane_options ${ARG_LINKS})
    solvane_public_headers(${name} ${sources})
    if(ARG_STRICT)
        target_link_libraries(${name} PRIVATE solvane_strict)
    endif()
endfunction()

# solvane_test_folder(FOLDER [WIDGETS] LINKS ...): one GoogleTest executable per tests/ folder,
# its sub-folders mirroring the groups of the source folder. WIDGETS suites run inside one QApplication.
function(solvane_test_folder folder)
    cmake_parse_arguments(ARG "WIDGETS" "" "LINKS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/tests/${folder}/*.h)
    if(NOT sources)
        return()
    endif()
    set(name tests_${folder})
    add_executable(${name} ${sources})
    if(ARG_WIDGETS)
        set(test_main solvane_testmain_widgets)
    else()
        set(test_main GTest::gtest_main)
    endif()
    target_link_libraries(${name} PRIVATE solvane_testsupport ${ARG_LINKS} ${test_main} GTest::gtest GTest::gmock)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
    gtest_discover_tests(${name}
        WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/tests
        DISCOVERY_TIMEOUT 60
        DISCOVERY_MODE PRE_TEST)
endfunction()

if(SOLVANE_FUZZ)
    # Instrument every library for coverage so the fuzzers can find their way into the parsers.
    target_compile_options(solvane_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(solvane_options INTERFACE -fsanitize=address,undefined)
endif()

# The program's version as a header, for the command line, the About box and the skin artwork.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${PROJECT_BINARY_DIR}/generated/solvane/Version.h)
add_library(solvane_version INTERFACE)
target_include_directories(solvane_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
