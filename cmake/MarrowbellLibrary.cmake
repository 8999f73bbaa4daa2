# One place that gives every target of the project the same warnings and
# sanitizer settings.

function(marrowbell_target_defaults target)
  # Designated initializers that leave members at their defaults are intended, not a mistake.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wno-missing-field-initializers)
  if(MARROWBELL_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# marrowbell_add_library(NAME SOURCES ...): every library is static, so each one exists once in any program
# that links it, however many of the program's libraries depend on it (one current service configuration,
# one log store). Public headers live under <dir>/include/<NAME>/, private ones beside their sources.
function(marrowbell_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                                     PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  marrowbell_target_defaults(${name})
endfunction()

# marrowbell_add_executable(NAME SOURCES ...)
function(marrowbell_add_executable name)
  add_executable(${name} ${ARGN})
  marrowbell_target_defaults(${name})
endfunction()

# marrowbell_add_test(NAME SOURCES ... LIBRARIES ...)
# One GoogleTest executable per area, discovered by ctest.
function(marrowbell_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT MARROWBELL_BUILD_TESTS)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main Threads::Threads)
  marrowbell_target_defaults(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# marrowbell_add_qt_library(NAME [SOURCES ...]): a static Qt library with moc and the project's Qt
# strictness. Areas inside it add their sources from their own folders with target_sources().
function(marrowbell_add_qt_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  marrowbell_add_library(${name} SOURCES ${ARG_SOURCES})
  marrowbell_qt_defaults(${name})
endfunction()

function(marrowbell_qt_defaults target)
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_KEYWORDS)
endfunction()

# marrowbell_add_qt_test(NAME SOURCES ... LIBRARIES ... [TIMEOUT seconds]): a GoogleTest executable for
# Qt code, run on the offscreen platform so that widgets need no display. The default time-out ends a hung
# test, yet leaves room for a window test over a few thousand songs on a machine running every test at once.
function(marrowbell_add_qt_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(NOT MARROWBELL_BUILD_TESTS)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest Threads::Threads)
  marrowbell_target_defaults(${name})
  marrowbell_qt_defaults(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
