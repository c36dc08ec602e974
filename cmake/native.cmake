# The native tree: the core on the simulated Windows, with the unit tests, once
# plain and once under AddressSanitizer and UndefinedBehaviorSanitizer.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB SIM_SOURCES CONFIGURE_DEPENDS platform/sim/*.cpp)
file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp tests/contract/*.cpp)

function(add_core_variant suffix)
    add_library(core${suffix} STATIC ${CORE_SOURCES} ${SIM_SOURCES})
    target_include_directories(core${suffix} PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(core${suffix} PUBLIC ${WARNINGS} ${ARGN})
    target_link_options(core${suffix} PUBLIC ${ARGN})

    add_executable(unit_tests${suffix} ${UNIT_TEST_SOURCES})
    target_link_libraries(unit_tests${suffix} PRIVATE core${suffix} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(unit_tests${suffix} TEST_PREFIX "unit${suffix}." DISCOVERY_TIMEOUT 60)
endfunction()

add_core_variant("")
add_core_variant("_sanitized" -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# The fuzz target of the settings text model, built with clang's libFuzzer and
# run for a bounded time as one of the tests.
find_program(CLANGXX clang++)
if(CLANGXX)
    set(FUZZ_SOURCES ${CMAKE_SOURCE_DIR}/tests/fuzz/settings_fuzz.cpp ${CMAKE_SOURCE_DIR}/settings/settings_text.cpp)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/settings_fuzz
        COMMAND ${CLANGXX} -std=c++17 -O1 -g -Wall -Wextra -Werror -fsanitize=fuzzer,address,undefined
                -fno-sanitize-recover=all -I${CMAKE_SOURCE_DIR} ${FUZZ_SOURCES} -o ${CMAKE_BINARY_DIR}/settings_fuzz
        DEPENDS ${FUZZ_SOURCES} ${CMAKE_SOURCE_DIR}/settings/settings_file.h
        COMMENT "Building the settings fuzz target with clang")
    # Named apart from its file: a target of the same name as the file it makes
    # gives make a rule that depends on itself.
    add_custom_target(settings_fuzzer ALL DEPENDS ${CMAKE_BINARY_DIR}/settings_fuzz)
    set(FUZZ_SECONDS 45 CACHE STRING "How long the test run fuzzes the settings text model")
    add_test(NAME fuzz.settings_text
        COMMAND ${CMAKE_BINARY_DIR}/settings_fuzz -max_total_time=${FUZZ_SECONDS} -max_len=4096
                -dict=${CMAKE_SOURCE_DIR}/tests/fuzz/settings.dict -artifact_prefix=${CMAKE_BINARY_DIR}/)
    # The longest test: started first, so that it runs beside the others.
    set_tests_properties(fuzz.settings_text PROPERTIES COST 1000)
endif()
