# The speech recogniser behind the machine draft: whisper.cpp with its ggml (MIT), from the source
# that scripts/install-deps fetches into a cache folder outside the source tree. It is built as a
# separate CMake project of static libraries (whisper, ggml, ggml-base, ggml-cpu): always
# optimised, since an unoptimised recogniser is unusably slow even in a debug build; without our
# warning flags or -Werror; without its examples, tests and server; for any x86-64 CPU with AVX2
# rather than the one building it (GGML_NATIVE off); with ggml's own thread pool, as OpenMP's
# threads busy-wait between steps. Its install rules stay out of ours and the package's.
#
# Gives the option DICTARO_DRAFT (on when the source is found) and, when on, the interface
# target dictaro_whisper to link.

if(DEFINED ENV{DICTARO_DEPS_CACHE})
    set(dictaro_deps_cache "$ENV{DICTARO_DEPS_CACHE}")
elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(dictaro_deps_cache "$ENV{XDG_CACHE_HOME}/dictaro-deps")
else()
    set(dictaro_deps_cache "$ENV{HOME}/.cache/dictaro-deps")
endif()
set(DICTARO_WHISPER_SOURCE "${dictaro_deps_cache}/whisper.cpp-1.9.1" CACHE PATH
    "The whisper.cpp 1.9.1 source tree (scripts/install-deps puts it there)")

if(EXISTS "${DICTARO_WHISPER_SOURCE}/include/whisper.h"
        AND EXISTS "${DICTARO_WHISPER_SOURCE}/ggml/CMakeLists.txt")
    set(dictaro_whisper_found ON)
else()
    set(dictaro_whisper_found OFF)
endif()
option(DICTARO_DRAFT "Build the machine draft (needs the whisper.cpp source)" ${dictaro_whisper_found})

if(NOT DICTARO_DRAFT)
    message(STATUS "The machine draft is off (DICTARO_DRAFT)")
    return()
endif()
if(NOT dictaro_whisper_found)
    message(FATAL_ERROR "DICTARO_DRAFT is on but ${DICTARO_WHISPER_SOURCE} holds no whisper.cpp "
        "source: run scripts/install-deps, or set DICTARO_WHISPER_SOURCE, or DICTARO_DRAFT=OFF")
endif()
message(STATUS "The machine draft's recogniser: ${DICTARO_WHISPER_SOURCE}")

include(ExternalProject)
set(dictaro_whisper_build "${CMAKE_BINARY_DIR}/whisper-engine")
set(dictaro_whisper_libraries
    "${dictaro_whisper_build}/src/libwhisper.a"
    "${dictaro_whisper_build}/ggml/src/libggml.a"
    "${dictaro_whisper_build}/ggml/src/libggml-cpu.a"
    "${dictaro_whisper_build}/ggml/src/libggml-base.a")
set(dictaro_whisper_args
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON
    -DBUILD_SHARED_LIBS=OFF
    -DWHISPER_BUILD_TESTS=OFF
    -DWHISPER_BUILD_EXAMPLES=OFF
    -DWHISPER_BUILD_SERVER=OFF
    -DWHISPER_ALL_WARNINGS=OFF
    -DWHISPER_FATAL_WARNINGS=OFF
    -DGGML_ALL_WARNINGS=OFF
    -DGGML_FATAL_WARNINGS=OFF
    -DGGML_NATIVE=OFF
    -DGGML_OPENMP=OFF
    -DGGML_CCACHE=OFF
    -DGGML_BUILD_TESTS=OFF
    -DGGML_BUILD_EXAMPLES=OFF)
foreach(language C CXX)
    if(CMAKE_${language}_COMPILER_LAUNCHER)
        list(APPEND dictaro_whisper_args
            -DCMAKE_${language}_COMPILER_LAUNCHER=${CMAKE_${language}_COMPILER_LAUNCHER})
    endif()
endforeach()
ExternalProject_Add(dictaro_whisper_build
    SOURCE_DIR "${DICTARO_WHISPER_SOURCE}"
    BINARY_DIR "${dictaro_whisper_build}"
    CMAKE_ARGS ${dictaro_whisper_args}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target whisper
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${dictaro_whisper_libraries}
    EXCLUDE_FROM_ALL ON)

find_package(Threads REQUIRED)
add_library(dictaro_whisper INTERFACE)
target_include_directories(dictaro_whisper SYSTEM INTERFACE
    "${DICTARO_WHISPER_SOURCE}/include" "${DICTARO_WHISPER_SOURCE}/ggml/include")
target_link_libraries(dictaro_whisper INTERFACE ${dictaro_whisper_libraries} Threads::Threads m
    ${CMAKE_DL_LIBS})
add_dependencies(dictaro_whisper dictaro_whisper_build)
