# The Windows tree: the two programs, and the programs of the end-to-end tests.
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

add_library(core STATIC ${CORE_SOURCES} ${WIN32_SOURCES})
target_include_directories(core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(core PUBLIC ${WARNINGS})
target_link_libraries(core PUBLIC shell32 winmm gdi32 user32 advapi32)

file(GLOB RESOURCE_INPUTS CONFIGURE_DEPENDS
    resources/*.def resources/*.rc resources/*.h resources/*/*.bmp resources/*/*.wav resources/*/*.ico)
foreach(program valkor novalkor)
    add_executable(${program} WIN32 ${program}/main.cpp ${program}/${program}.rc)
    target_link_libraries(${program} PRIVATE core)
    # Stripped: the runtime's static libraries would bring their debug information,
    # with the folders of the machine that built them.
    target_link_options(${program} PRIVATE ${STATIC_RUNTIME} -s)
    set_source_files_properties(${program}/${program}.rc PROPERTIES OBJECT_DEPENDS "${RESOURCE_INPUTS}")
endforeach()

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
    add_subdirectory(tools/driver)
    add_subdirectory(sample/standin)
    add_subdirectory(tests/e2e)
    add_subdirectory(tools/demo)
    add_subdirectory(tools/screenshots)
endif()
add_subdirectory(bench)
