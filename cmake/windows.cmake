# The Windows tree: the two programs, and the programs of the end-to-end tests.
enable_language(RC)

file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
# Only system DLLs at run time: no libgcc, libstdc++ or winpthread DLL beside the programs.
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

add_library(core STATIC ${CORE_SOURCES} ${WIN32_SOURCES})
target_include_directories(core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(core PUBLIC ${WARNINGS})
target_link_libraries(core PUBLIC shell32 winmm gdi32 user32 advapi32)

file(GLOB RESOURCE_INPUTS CONFIGURE_DEPENDS
    resources/*.def resources/*.rc resources/*.h resources/*/*.bmp resources/*/*.wav resources/*/*.ico)
foreach(program valkor novalkor)
    add_executable(${program} WIN32 ${program}/main.cpp ${program}/${program}.rc)
    target_link_libraries(${program} PRIVATE core)
    target_link_options(${program} PRIVATE ${STATIC_RUNTIME})
    set_source_files_properties(${program}/${program}.rc PROPERTIES OBJECT_DEPENDS "${RESOURCE_INPUTS}")
endforeach()

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
    add_subdirectory(tests/e2e)
    add_subdirectory(tools/demo)
endif()
add_subdirectory(bench)
