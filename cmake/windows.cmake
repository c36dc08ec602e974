# A Windows tree: with the win32 thread model the two programs and the programs
# beside them (the game's stand-in, the window driver's, the benchmarks); with the
# posix model the end-to-end test programs (cmake/mingw.cmake).
enable_language(RC)

file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
# Only system DLLs at run time: no libgcc, libstdc++ or winpthread DLL beside the programs.
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# The same sources give the same bytes wherever and whenever they are built: no
# link time in the PE header, and no folder of this machine in what the compiler
# writes (__FILE__, debug information). The build tree's mapping comes last, so it
# wins when the tree lies inside the sources.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>"
                    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>")

if(MINGW_THREADS STREQUAL "posix")
    # The posix thread model's tree holds only the end-to-end test programs
    # (GoogleTest needs it); the launchers, and the programs the tests start
    # beside them, come from the win32 model's tree.
    if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
        add_subdirectory(tools/driver)
        add_subdirectory(tests/e2e)
    endif()
    return()
endif()

# The oldest Windows the launchers run on, in their PE header: Windows XP (NT 5.1),
# or for a 64-bit build XP's x64 edition (NT 5.2). XP refuses a later subsystem version.
set(nt_minor 1)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(nt_minor 2)
endif()
set(OLDEST_WINDOWS_HEADER -Wl,--major-subsystem-version,5,--minor-subsystem-version,${nt_minor}
                          -Wl,--major-os-version,5,--minor-os-version,${nt_minor})

add_library(core STATIC ${CORE_SOURCES} ${WIN32_SOURCES})
target_include_directories(core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(core PUBLIC ${WARNINGS})
# ole32 for the folder picker; uuid holds the interfaces' identifiers (data, no DLL).
target_link_libraries(core PUBLIC shell32 gdi32 user32 advapi32 comctl32 ole32 uuid)

file(GLOB RESOURCE_INPUTS CONFIGURE_DEPENDS
    resources/*.def resources/*.rc resources/*.h resources/*.manifest resources/*/*.bmp resources/*/*.wav resources/*/*.ico)
foreach(program valkor novalkor)
    add_executable(${program} WIN32 ${program}/main.cpp ${program}/${program}.rc)
    target_link_libraries(${program} PRIVATE core)
    # Stripped: the runtime's static libraries would bring their debug information,
    # with the folders of the machine that built them.
    target_link_options(${program} PRIVATE ${STATIC_RUNTIME} -s ${OLDEST_WINDOWS_HEADER})
    set_source_files_properties(${program}/${program}.rc PROPERTIES OBJECT_DEPENDS "${RESOURCE_INPUTS}")
endforeach()

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
    add_subdirectory(tools/driver)
    add_subdirectory(sample/standin)
    add_subdirectory(tools/demo)
    add_subdirectory(tools/screenshots)
endif()
add_subdirectory(bench)
