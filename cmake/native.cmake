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
    target_compile_definitions(unit_tests${suffix} PRIVATE SAMPLE_DIR="${CMAKE_SOURCE_DIR}/sample/game")
    gtest_discover_tests(unit_tests${suffix} TEST_PREFIX "unit${suffix}." DISCOVERY_TIMEOUT 60)
endfunction()

add_core_variant("")
add_core_variant("_sanitized" -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
